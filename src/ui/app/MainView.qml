import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Session
import Halvex.Sidebar
import Halvex.Chat
import Halvex

Item {
    id: main
    objectName: "mainView"
    readonly property SidebarRows rows: Screens.sidebar

    function focusSearch() {
        if (main.rows) main.rows.collapsed = false
        main.rows.focusSearch()
    }
    // The keys come from ShortcutCatalog, which the shortcut overlay lists.
    Shortcut { sequences: ShortcutCatalog.keys("search"); onActivated: main.focusSearch() }
    // With no chat showing, find looks through the sidebar instead.
    Shortcut { sequences: ShortcutCatalog.keys("find"); enabled: !chatPane.chat || !chatPane.visible; onActivated: main.focusSearch() }
    Shortcut { sequences: ShortcutCatalog.keys("marketplace"); onActivated: if (Screens.marketplace) Screens.marketplace.show() }
    Shortcut { sequences: ShortcutCatalog.keys("newEmployee"); onActivated: if (main.rows) main.rows.startCreating("employee") }
    Shortcut { sequences: ShortcutCatalog.keys("newWorker"); onActivated: if (Screens.workerBuilder) Screens.workerBuilder.startNew() }
    Shortcut { sequences: ShortcutCatalog.keys("toggleSidebar"); onActivated: if (main.rows) main.rows.collapsed = !main.rows.collapsed }
    Shortcut { sequences: ShortcutCatalog.keys("computer"); onActivated: if (Screens.computer) Screens.computer.toggle() }
    Shortcut { sequences: ShortcutCatalog.keys("newProject"); onActivated: if (Screens.projectIntake) Screens.projectIntake.start() }
    Shortcut { sequences: ShortcutCatalog.keys("nextChat"); onActivated: if (main.rows) main.rows.selectNearby(1) }
    Shortcut { sequences: ShortcutCatalog.keys("previousChat"); onActivated: if (main.rows) main.rows.selectNearby(-1) }
    Shortcut { sequences: ShortcutCatalog.keys("shortcuts"); onActivated: main.toggleShortcutOverlay() }
    function toggleShortcutOverlay() {
        shortcutOverlay.active = true
        const overlay = shortcutOverlay.item
        overlay.visible ? overlay.close() : overlay.open()
    }

    // Focus never falls off the window when a sheet or a detail screen closes: it goes back to
    // what had it before the sheet opened, or to the composer.
    readonly property var sheets: [projectLoader, marketLoader, createLoader, builderLoader, documentsLoader,
                                   projectIntakeLoader, memoryLoader, voiceCallLoader, inAppBrowserLoader]
    readonly property bool sheetOpen: sheets.some(loader => loader.active) || (shortcutOverlay.item !== null && shortcutOverlay.item.visible)
    property Item focusBeforeSheet: null
    // Inside the main view and in none of its sheets (popups live on the window's overlay).
    function outsideSheets(item) {
        for (let up = item; up; up = up.parent) {
            if (main.sheets.indexOf(up) >= 0)
                return false
            if (up === main)
                return true
        }
        return false
    }
    function restoreFocus() {
        if (main.sheetOpen)
            return
        const item = main.focusBeforeSheet
        if (item && item.visible && item.enabled)
            item.forceActiveFocus()
        else
            chatPane.focusComposer()
    }
    Connections {
        target: main.Window.window
        function onActiveFocusItemChanged() {
            const item = main.Window.activeFocusItem
            if (item && !main.sheetOpen && main.outsideSheets(item))
                main.focusBeforeSheet = item
        }
    }
    onSheetOpenChanged: if (!sheetOpen) Qt.callLater(main.restoreFocus)

    // Made the first time it is asked for.
    SheetLoader { id: shortcutOverlay; active: false; address: "qrc:/Halvex/Controls/ShortcutOverlay.qml" }
    FocusFrame {}
    LiveRegion {}

    RowLayout {
        anchors.fill: parent
        spacing: 0
        SidebarView {
            objectName: "sidebar"
            rows: main.rows
            visible: !(main.rows && main.rows.collapsed)
            Layout.preferredWidth: 280
            Layout.fillHeight: true
        }
        Rectangle { width: 1; Layout.fillHeight: true; color: Theme.border; visible: !(main.rows && main.rows.collapsed) }
        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true
            // The chat stays alive under the detail screens, so closing one returns to it as it was.
            ChatPane {
                id: chatPane
                anchors.fill: parent
                rows: main.rows
                visible: !createLoader.active && !marketLoader.active && !builderLoader.active && !projectLoader.active
            }
            // The detail screens and sheets load by address when first opened (see SheetLoader).
            SheetLoader {
                id: projectLoader
                anchors.fill: parent
                active: Screens.project !== null && Screens.project !== undefined && Screens.project.open
                        && !marketLoader.active && !createLoader.active && !builderLoader.active
                address: "qrc:/Halvex/Projects/ProjectView.qml"
                initialProperties: ({ project: Screens.project })
            }
            SheetLoader {
                id: marketLoader
                anchors.fill: parent
                active: Screens.marketplace !== null && Screens.marketplace !== undefined && Screens.marketplace.open
                address: "qrc:/Halvex/Marketplace/MarketplaceView.qml"
                initialProperties: ({ market: Screens.marketplace })
            }
            SheetLoader {
                id: createLoader
                anchors.fill: parent
                active: Screens.create !== null && Screens.create !== undefined && Screens.create.open
                address: "qrc:/Halvex/Create/CreateScreen.qml"
                initialProperties: ({ flow: Screens.create })
            }
            SheetLoader {
                id: builderLoader
                anchors.fill: parent
                active: Screens.workerBuilder !== null && Screens.workerBuilder !== undefined && Screens.workerBuilder.open
                address: "qrc:/Halvex/Workers/WorkerBuilderView.qml"
                initialProperties: ({ builder: Screens.workerBuilder })
            }
            // What the last commit of the builder said, for a few seconds.
            Rectangle {
                objectName: "workerBuilderMessage"
                readonly property string message: Screens.workerBuilder ? Screens.workerBuilder.lastMessage : ""
                visible: message.length > 0
                anchors { horizontalCenter: parent.horizontalCenter; bottom: parent.bottom; bottomMargin: 96 }
                width: toastText.implicitWidth + 32; height: 36; radius: 18
                color: Theme.raised; border.color: Theme.border
                Label { id: toastText; anchors.centerIn: parent; text: parent.message; textFormat: Text.PlainText; color: Theme.text }
                TapHandler { onTapped: Screens.workerBuilder.dismissMessage() }
            }
        }
        // The employee's computer beside the chat, while the chat shows.
        SheetLoader {
            id: computerLoader
            objectName: "computerPanelLoader"
            active: Screens.computer !== null && Screens.computer !== undefined && Screens.computer.panelOpen
                    && !createLoader.active && !marketLoader.active && !builderLoader.active && !projectLoader.active
            visible: active
            Layout.fillHeight: true
            Layout.preferredWidth: item ? Math.min(item.implicitWidth, Math.max(320, main.width - 620)) : 0
            // Its web engine loads with the first panel.
            address: "qrc:/Halvex/Computer/ComputerSidePanel.qml"
            initialProperties: ({ panel: Screens.computer })
        }
    }

    // Every document link of the app opens here, over whatever screen is showing; loaded by
    // address only while a document is open, so the PDF engine starts with the first PDF.
    SheetLoader {
        id: documentsLoader
        anchors.fill: parent
        active: Screens.documents !== null && Screens.documents !== undefined && Screens.documents.open
        address: "qrc:/Halvex/Media/DocumentViewerSheet.qml"
        initialProperties: ({ viewer: Screens.documents, session: Screens.chat })
    }

    // A new project through intake: a sheet over the whole window.
    SheetLoader {
        id: projectIntakeLoader
        anchors.fill: parent
        active: Screens.projectIntake !== null && Screens.projectIntake !== undefined && Screens.projectIntake.open
        address: "qrc:/Halvex/Projects/ProjectIntakeSheet.qml"
        initialProperties: ({ intake: Screens.projectIntake })
    }

    // An employee's memory, opened from its chat's header: a sheet over the whole window.
    SheetLoader {
        id: memoryLoader
        anchors.fill: parent
        active: Screens.memory !== null && Screens.memory !== undefined && Screens.memory.open
        address: "qrc:/Halvex/Memory/MemoryPanelSheet.qml"
        initialProperties: ({ panel: Screens.memory })
    }

    // A voice call with the open chat's employee: a sheet over the whole window while it is open.
    SheetLoader {
        id: voiceCallLoader
        anchors.fill: parent
        active: Screens.voiceCall !== null && Screens.voiceCall !== undefined && Screens.voiceCall.open
        // The call page's web engine loads with the first call.
        address: "qrc:/Halvex/Voice/VoiceCallView.qml"
        initialProperties: ({ call: Screens.voiceCall })
    }

    // The in-app browser: the services the employee can be signed in to, over the whole window.
    SheetLoader {
        id: inAppBrowserLoader
        anchors.fill: parent
        active: Screens.computer !== null && Screens.computer !== undefined && Screens.computer.browserOpen
        address: "qrc:/Halvex/Computer/InAppBrowserOverlay.qml"
        initialProperties: ({ panel: Screens.computer })
    }
}
