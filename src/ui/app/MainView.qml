import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Session
import Halvex.Sidebar
import Halvex.Chat
import Halvex.Create
import Halvex.Marketplace
import Halvex.Settings
import Halvex.Workers
import Halvex.Projects
import Halvex.Memory
import Halvex.Computer
import Halvex.Voice
import Halvex.Media
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
    Shortcut { sequences: ShortcutCatalog.keys("shortcuts"); onActivated: shortcutOverlay.visible ? shortcutOverlay.close() : shortcutOverlay.open() }

    // Focus never falls off the window when a sheet or a detail screen closes: it goes back to
    // what had it before the sheet opened, or to the composer.
    readonly property var sheets: [projectLoader, marketLoader, createLoader, builderLoader, documentsLoader,
                                   projectIntakeLoader, memoryLoader, voiceCallLoader, inAppBrowserLoader]
    readonly property bool sheetOpen: sheets.some(loader => loader.active) || shortcutOverlay.visible
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

    ShortcutOverlay { id: shortcutOverlay }
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
            Loader {
                id: projectLoader
                anchors.fill: parent
                active: Screens.project !== null && Screens.project !== undefined && Screens.project.open
                        && !marketLoader.active && !createLoader.active && !builderLoader.active
                sourceComponent: ProjectView { project: Screens.project }
            }
            Loader {
                id: marketLoader
                anchors.fill: parent
                active: Screens.marketplace !== null && Screens.marketplace !== undefined && Screens.marketplace.open
                sourceComponent: MarketplaceView { market: Screens.marketplace }
            }
            Loader {
                id: createLoader
                anchors.fill: parent
                active: Screens.create !== null && Screens.create !== undefined && Screens.create.open
                sourceComponent: CreateScreen { flow: Screens.create }
            }
            Loader {
                id: builderLoader
                anchors.fill: parent
                active: Screens.workerBuilder !== null && Screens.workerBuilder !== undefined && Screens.workerBuilder.open
                sourceComponent: WorkerBuilderView { builder: Screens.workerBuilder }
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
        Loader {
            id: computerLoader
            objectName: "computerPanelLoader"
            active: Screens.computer !== null && Screens.computer !== undefined && Screens.computer.panelOpen
                    && !createLoader.active && !marketLoader.active && !builderLoader.active && !projectLoader.active
            visible: active
            Layout.fillHeight: true
            Layout.preferredWidth: item ? Math.min(item.implicitWidth, Math.max(320, main.width - 620)) : 0
            // By address, not by type: naming the type here would load the web engine with the
            // window; this way it loads with the first panel.
            function load() { if (active) setSource("qrc:/Halvex/Computer/ComputerSidePanel.qml", { panel: Screens.computer }) }
            onActiveChanged: load()
            Component.onCompleted: load()
        }
    }

    // Every document link of the app opens here, over whatever screen is showing; loaded by
    // address only while a document is open, so the PDF engine starts with the first PDF.
    Loader {
        id: documentsLoader
        anchors.fill: parent
        active: Screens.documents !== null && Screens.documents !== undefined && Screens.documents.open
        function load() { if (active) setSource("qrc:/Halvex/Media/DocumentViewerSheet.qml", { viewer: Screens.documents, session: Screens.chat }) }
        onActiveChanged: load()
        Component.onCompleted: load()
    }

    // A new project through intake: a sheet over the whole window.
    Loader {
        id: projectIntakeLoader
        anchors.fill: parent
        active: Screens.projectIntake !== null && Screens.projectIntake !== undefined && Screens.projectIntake.open
        sourceComponent: ProjectIntakeSheet { intake: Screens.projectIntake }
    }

    // An employee's memory, opened from its chat's header: a sheet over the whole window.
    Loader {
        id: memoryLoader
        anchors.fill: parent
        active: Screens.memory !== null && Screens.memory !== undefined && Screens.memory.open
        sourceComponent: Rectangle {
            color: Qt.rgba(0, 0, 0, 0.35)
            MouseArea { anchors.fill: parent; onClicked: Screens.memory.close() }
            MemoryPanelView {
                panel: Screens.memory
                anchors.centerIn: parent
                width: Math.min(parent.width - 48, 860)
                height: Math.min(parent.height - 48, 720)
                Component.onCompleted: forceActiveFocus()
            }
        }
    }

    // A voice call with the open chat's employee: a sheet over the whole window while it is open.
    Loader {
        id: voiceCallLoader
        anchors.fill: parent
        active: Screens.voiceCall !== null && Screens.voiceCall !== undefined && Screens.voiceCall.open
        // By address: the call page's web engine loads with the first call.
        function load() { if (active) setSource("qrc:/Halvex/Voice/VoiceCallView.qml", { call: Screens.voiceCall }) }
        onActiveChanged: load()
        Component.onCompleted: load()
    }

    // The in-app browser: the services the employee can be signed in to, over the whole window.
    Loader {
        id: inAppBrowserLoader
        anchors.fill: parent
        active: Screens.computer !== null && Screens.computer !== undefined && Screens.computer.browserOpen
        sourceComponent: Rectangle {
            color: Qt.rgba(0, 0, 0, 0.35)
            MouseArea { anchors.fill: parent; onClicked: Screens.computer.closeBrowser() }
            InAppBrowserSheet {
                panel: Screens.computer
                anchors.centerIn: parent
                width: Math.min(parent.width - 48, 820)
                height: Math.min(parent.height - 48, 640)
                Component.onCompleted: forceActiveFocus()
                MouseArea { anchors.fill: parent; z: -1 }
            }
        }
    }
}
