import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Workers

// Opened from the composer: the person's workers, each run into this chat, and the shared
// workflow marketplace to add a private copy from.
Popup {
    id: popup
    objectName: "workerLauncher"
    required property WorkerLauncher launcher
    width: 440
    height: Math.min(520, implicitHeight)
    padding: 14
    modal: false
    focus: true
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
    onOpened: launcher.show()
    onClosed: launcher.hide()
    background: Rectangle { radius: 12; color: Theme.raised; border.color: Theme.border }

    contentItem: ColumnLayout {
        spacing: 10
        RowLayout {
            Layout.fillWidth: true
            spacing: 6
            Repeater {
                model: [{ key: "mine", label: "My workers" }, { key: "marketplace", label: "Marketplace" }]
                delegate: Chip {
                    required property var modelData
                    readonly property bool current: popup.launcher && popup.launcher.mode === modelData.key
                    objectName: "launcherTab_" + modelData.key
                    text: modelData.label
                    symbol: current ? "checkmark" : ""
                    Accessible.checked: current
                    onClicked: popup.launcher.selectMode(modelData.key)
                }
            }
            Item { Layout.fillWidth: true }
            ToolButton {
                objectName: "launcherNewWorker"
                contentItem: Icon { symbol: "plus"; size: 16; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: { popup.close(); popup.launcher.newWorker() }
                Accessible.name: "New worker"
                ToolTip.visible: hovered; ToolTip.text: "New worker"
            }
        }

        ListView {
            id: mine
            objectName: "launcherWorkers"
            visible: popup.launcher && popup.launcher.mode === "mine"
            Layout.fillWidth: true
            Layout.preferredHeight: Math.min(contentHeight, 360)
            clip: true
            spacing: 4
            model: popup.launcher ? popup.launcher.rows : []
            delegate: Rectangle {
                id: workerRow
                required property var modelData
                width: ListView.view.width
                height: 52
                radius: 8
                color: hover.hovered ? Theme.hover : "transparent"
                HoverHandler { id: hover }
                RowLayout {
                    anchors { fill: parent; leftMargin: 8; rightMargin: 4 }
                    spacing: 10
                    Rectangle {
                        width: 32; height: 32; radius: 16; color: Theme.accent
                        Label { anchors.centerIn: parent; text: workerRow.modelData.initial; textFormat: Text.PlainText; color: Theme.accentText; font.weight: Font.DemiBold }
                    }
                    ColumnLayout {
                        spacing: 1
                        Layout.fillWidth: true
                        Label { text: workerRow.modelData.name; textFormat: Text.PlainText; color: Theme.text; font.weight: Font.Medium; elide: Text.ElideRight; Layout.fillWidth: true }
                        Label { text: workerRow.modelData.meta; textFormat: Text.PlainText; color: Theme.secondaryText; font.pixelSize: 12; elide: Text.ElideRight; Layout.fillWidth: true; visible: text.length > 0 }
                    }
                    Spinner { visible: popup.launcher.busyId === workerRow.modelData.id; running: visible; size: 16 }
                    Chip {
                        objectName: "runWorker_" + workerRow.modelData.id
                        text: "Run"; symbol: "play.fill"
                        enabled: popup.launcher.busyId.length === 0
                        onClicked: popup.launcher.run(workerRow.modelData.id)
                        Accessible.name: "Run " + workerRow.modelData.name
                    }
                    ToolButton {
                        contentItem: Icon { symbol: "pencil"; size: 15; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                        onClicked: { popup.close(); popup.launcher.edit(workerRow.modelData.id) }
                        Accessible.name: "Edit " + workerRow.modelData.name
                    }
                    ToolButton {
                        objectName: "deleteWorker_" + workerRow.modelData.id
                        enabled: popup.launcher.busyId.length === 0
                        contentItem: Icon { symbol: "trash"; size: 15; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                        onClicked: confirmDelete.ask(workerRow.modelData.id, workerRow.modelData.name)
                        Accessible.name: "Delete " + workerRow.modelData.name
                    }
                }
            }
        }
        Label {
            visible: mine.visible && popup.launcher.loaded && mine.count === 0
            text: "No active workers yet. Build one with the + button."
            color: Theme.secondaryText; wrapMode: Text.WordWrap; Layout.fillWidth: true
        }

        ListView {
            id: market
            objectName: "launcherMarketplace"
            visible: popup.launcher && popup.launcher.mode === "marketplace"
            Layout.fillWidth: true
            Layout.preferredHeight: Math.min(contentHeight, 360)
            clip: true
            spacing: 6
            model: popup.launcher ? popup.launcher.marketplaceRows : []
            delegate: Rectangle {
                id: itemRow
                required property var modelData
                width: ListView.view.width
                height: itemColumn.implicitHeight + 16
                radius: 8
                color: Theme.surface
                border.color: Theme.border
                RowLayout {
                    anchors { fill: parent; margins: 8 }
                    spacing: 10
                    ColumnLayout {
                        id: itemColumn
                        spacing: 2
                        Layout.fillWidth: true
                        Label { text: itemRow.modelData.name; textFormat: Text.PlainText; color: Theme.text; font.weight: Font.Medium; elide: Text.ElideRight; Layout.fillWidth: true }
                        Label { text: itemRow.modelData.description; textFormat: Text.PlainText; color: Theme.secondaryText; font.pixelSize: 12; wrapMode: Text.WordWrap; maximumLineCount: 2; elide: Text.ElideRight; Layout.fillWidth: true; visible: text.length > 0 }
                        Label { text: [itemRow.modelData.byline, itemRow.modelData.counts].filter(s => s.length > 0).join(" · "); textFormat: Text.PlainText; color: Theme.secondaryText; font.pixelSize: 11; elide: Text.ElideRight; Layout.fillWidth: true }
                    }
                    Chip {
                        objectName: "installWorkflow_" + itemRow.modelData.id
                        text: itemRow.modelData.installed ? "Added" : itemRow.modelData.owned ? "Yours" : "Add"
                        symbol: itemRow.modelData.installed ? "checkmark" : "plus"
                        enabled: !itemRow.modelData.installed && !itemRow.modelData.owned && popup.launcher.busyId.length === 0
                        onClicked: popup.launcher.install(itemRow.modelData.id)
                        Accessible.name: (itemRow.modelData.installed ? "Added: " : "Add ") + itemRow.modelData.name
                    }
                }
            }
            footer: Item {
                width: ListView.view.width
                height: popup.launcher && (popup.launcher.marketplaceHasMore || popup.launcher.marketplaceLoading) ? 44 : 0
                PlainButton {
                    anchors.centerIn: parent
                    visible: popup.launcher && popup.launcher.marketplaceHasMore && !popup.launcher.marketplaceLoading
                    text: "Load more"
                    onClicked: popup.launcher.loadMore()
                }
                Spinner { anchors.centerIn: parent; visible: popup.launcher && popup.launcher.marketplaceLoading; running: visible; size: 18 }
            }
        }
        Label {
            visible: market.visible && popup.launcher.marketplaceError.length > 0
            text: popup.launcher ? popup.launcher.marketplaceError : ""
            textFormat: Text.PlainText
            color: Theme.danger; wrapMode: Text.WordWrap; Layout.fillWidth: true
        }

        Label {
            objectName: "launcherNotice"
            visible: text.length > 0
            text: popup.launcher ? popup.launcher.notice : ""
            textFormat: Text.PlainText
            color: popup.launcher && popup.launcher.noticeIsError ? Theme.danger : Theme.secondaryText
            wrapMode: Text.WordWrap; Layout.fillWidth: true
        }
    }

    QuestionDialog {
        id: confirmDelete
        property string workerId
        property string workerName
        function ask(id, name) { workerId = id; workerName = name; open() }
        title: "Delete " + workerName + "?"
        Label { text: "Its pipeline and its runs are removed. This can’t be undone."; color: Theme.text; wrapMode: Text.WordWrap; width: 320 }
        onAccepted: popup.launcher.remove(workerId)
    }
}
