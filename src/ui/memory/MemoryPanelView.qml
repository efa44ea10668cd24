import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import QtQuick.Shapes
import Halvex.Controls
import Halvex.Memory

// An employee's memory as a sheet over the chat: its knowledge base, what it remembers about
// the user (with an add-a-fact field and a Forget button each), and the two drawn as a graph.
Rectangle {
    id: view
    objectName: "memoryPanelView"
    required property MemoryPanel panel
    color: Theme.window
    radius: 12
    border.color: Theme.border
    focus: true
    // Escape closes the sheet wherever the focus is inside it.
    Shortcut { sequences: ShortcutCatalog.keys("closeSheet"); onActivated: view.panel.close() }
    // Clicks inside the sheet stay in it.
    MouseArea { anchors.fill: parent }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 20
        spacing: 12
        RowLayout {
            Layout.fillWidth: true
            spacing: 10
            Icon { symbol: "books.vertical"; size: 20; color: Theme.text }
            Label {
                objectName: "memoryTitle"
                text: view.panel.agentName.length > 0 ? view.panel.agentName + "’s memory" : "Memory"
                textFormat: Text.PlainText; color: Theme.text; font.pixelSize: 18; font.weight: Font.DemiBold
                elide: Text.ElideRight; Layout.fillWidth: true
            }
            Spinner { objectName: "memoryLoading"; visible: view.panel.loading || view.panel.kbBusy || view.panel.memBusy; size: 18 }
            ToolButton {
                objectName: "memoryReload"
                contentItem: Icon { symbol: "arrow.clockwise"; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: view.panel.reload()
                Accessible.name: "Reload"
                ToolTip.visible: hovered; ToolTip.text: "Reload"
            }
            ToolButton {
                objectName: "memoryClose"
                contentItem: Icon { symbol: "xmark"; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: view.panel.close()
                Accessible.name: "Close"
                ToolTip.visible: hovered; ToolTip.text: "Close (Esc)"
            }
        }
        TabBar {
            id: tabs
            objectName: "memoryTabs"
            Layout.fillWidth: true
            currentIndex: view.panel.tab
            onCurrentIndexChanged: view.panel.tab = currentIndex
            background: Rectangle { color: "transparent"; Rectangle { anchors.bottom: parent.bottom; width: parent.width; height: 1; color: Theme.border } }
            Repeater {
                model: ["Knowledge base", "Memories", "Graph"]
                delegate: TabButton {
                    id: tab
                    required property string modelData
                    text: modelData
                    width: implicitWidth
                    contentItem: Label { textFormat: Text.PlainText; text: tab.text; color: tab.checked ? Theme.text : Theme.secondaryText; font.weight: tab.checked ? Font.DemiBold : Font.Normal; horizontalAlignment: Text.AlignHCenter }
                    background: Rectangle {
                        color: "transparent"
                        Rectangle { anchors.bottom: parent.bottom; width: parent.width; height: 2; color: tab.checked ? Theme.accent : "transparent" }
                        border.width: tab.visualFocus ? 2 : 0
                        border.color: Theme.focusRing
                    }
                }
            }
        }
        RowLayout {
            Layout.fillWidth: true
            visible: view.panel.error.length > 0
            Label {
                objectName: "memoryError"
                text: view.panel.error; textFormat: Text.PlainText; color: Theme.danger
                wrapMode: Text.WordWrap; Layout.fillWidth: true
            }
            ToolButton {
                contentItem: Icon { symbol: "xmark"; size: 14; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: view.panel.dismissError()
                Accessible.name: "Dismiss"
            }
        }
        StackLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            currentIndex: tabs.currentIndex

            // Knowledge base
            ColumnLayout {
                spacing: 10
                RowLayout {
                    Layout.fillWidth: true
                    spacing: 8
                    PlainField {
                        id: linkField
                        objectName: "memoryLinkField"
                        Layout.fillWidth: true
                        placeholderText: "Add a link the employee should know, e.g. docs.example.com/guide"
                        text: view.panel.kbLink
                        onTextEdited: view.panel.kbLink = text
                        onAccepted: view.panel.addLink()
                        Accessible.name: "Link to add"
                    }
                    AccentButton {
                        objectName: "memoryAddLink"
                        text: "Add link"
                        enabled: !view.panel.kbBusy && linkField.text.trim().length > 0
                        onClicked: view.panel.addLink()
                    }
                    PlainButton {
                        objectName: "memoryImport"
                        text: "Import text files…"
                        enabled: !view.panel.kbBusy
                        onClicked: importDialog.open()
                    }
                    FileDialog {
                        id: importDialog
                        title: "Import text files"
                        fileMode: FileDialog.OpenFiles
                        nameFilters: ["Text files (*.md *.markdown *.txt *.text)"]
                        onAccepted: view.panel.importFiles(selectedFiles)
                    }
                }
                Label {
                    objectName: "memoryImportReport"
                    visible: text.length > 0
                    text: view.panel.importReport.length > 0 ? "Skipped:\n" + view.panel.importReport : ""
                    textFormat: Text.PlainText; color: Theme.danger; font.pixelSize: 12
                    wrapMode: Text.WordWrap; Layout.fillWidth: true
                }
                RowLayout {
                    Layout.fillWidth: true
                    spacing: 6
                    PlainField {
                        objectName: "memorySearch"
                        Layout.preferredWidth: 220
                        placeholderText: "Search knowledge"
                        text: view.panel.kbSearch
                        onTextEdited: view.panel.kbSearch = text
                        Accessible.name: "Search knowledge"
                    }
                    Repeater {
                        model: view.panel.filters
                        delegate: Chip {
                            id: filterChip
                            required property var modelData
                            objectName: "memoryFilter-" + (filterChip.modelData.key.length > 0 ? filterChip.modelData.key : "all")
                            text: filterChip.modelData.label + " " + filterChip.modelData.count
                            checked: view.panel.kbFilter === filterChip.modelData.key
                            onClicked: view.panel.kbFilter = filterChip.modelData.key
                        }
                    }
                    Item { Layout.fillWidth: true }
                }
                ListView {
                    id: rowList
                    objectName: "memoryRows"
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    clip: true
                    spacing: 4
                    model: view.panel.rows
                    ScrollBar.vertical: ScrollBar {}
                    delegate: Rectangle {
                        id: rowItem
                        required property var modelData
                        objectName: "memoryRow-" + modelData.id
                        width: ListView.view.width
                        height: rowLine.implicitHeight + 16
                        radius: 8
                        color: Theme.surface
                        border.color: Theme.border
                        RowLayout {
                            id: rowLine
                            anchors { left: parent.left; right: parent.right; verticalCenter: parent.verticalCenter; leftMargin: 12; rightMargin: 8 }
                            spacing: 10
                            Label { text: rowItem.modelData.icon; font.pixelSize: 18; textFormat: Text.PlainText }
                            Rectangle {
                                radius: 9; color: Theme.selection
                                implicitWidth: 48; implicitHeight: 18
                                Label { id: typeLabel; anchors.centerIn: parent; text: rowItem.modelData.typeName; font.pixelSize: 11; color: Theme.text; textFormat: Text.PlainText }
                            }
                            ColumnLayout {
                                spacing: 1
                                Layout.fillWidth: true
                                Label { text: rowItem.modelData.name; textFormat: Text.PlainText; color: Theme.text; elide: Text.ElideRight; Layout.fillWidth: true }
                                Label { text: rowItem.modelData.meta; textFormat: Text.PlainText; color: Theme.secondaryText; font.pixelSize: 12; elide: Text.ElideRight; Layout.fillWidth: true }
                            }
                            ToolButton {
                                objectName: "memoryRemove-" + rowItem.modelData.id
                                visible: rowItem.modelData.removable
                                enabled: !view.panel.kbBusy
                                contentItem: Icon { symbol: "trash"; size: 16; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                                onClicked: view.panel.removeRow(rowItem.modelData.id)
                                Accessible.name: "Remove " + rowItem.modelData.name
                                ToolTip.visible: hovered; ToolTip.text: "Remove"
                            }
                        }
                    }
                    Label {
                        anchors.centerIn: parent
                        visible: rowList.count === 0 && view.panel.loaded
                        text: view.panel.kbSearch.length > 0 || view.panel.kbFilter.length > 0 ? "Nothing matches." : "No knowledge yet — add a link or import text files."
                        color: Theme.secondaryText; textFormat: Text.PlainText
                    }
                }
            }

            // Memories
            ColumnLayout {
                spacing: 10
                RowLayout {
                    Layout.fillWidth: true
                    spacing: 8
                    PlainField {
                        id: factField
                        objectName: "memoryFactField"
                        Layout.fillWidth: true
                        placeholderText: "Teach it a fact about you, e.g. Invoices go to finance@example.com"
                        text: view.panel.memInput
                        onTextEdited: view.panel.memInput = text
                        onAccepted: view.panel.addMemory()
                        Accessible.name: "Fact to remember"
                    }
                    AccentButton {
                        objectName: "memoryAddFact"
                        text: "Remember"
                        enabled: !view.panel.memBusy && factField.text.trim().length > 0
                        onClicked: view.panel.addMemory()
                    }
                }
                ListView {
                    id: groupList
                    objectName: "memoryGroups"
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    clip: true
                    spacing: 14
                    model: view.panel.groups
                    ScrollBar.vertical: ScrollBar {}
                    delegate: ColumnLayout {
                        id: group
                        required property var modelData
                        width: ListView.view.width
                        spacing: 6
                        Label { text: group.modelData.cat; textFormat: Text.PlainText; color: Theme.secondaryText; font.pixelSize: 12; font.weight: Font.DemiBold }
                        Repeater {
                            model: group.modelData.items
                            delegate: Rectangle {
                                id: entry
                                required property var modelData
                                objectName: "memoryEntry-" + modelData.id
                                Layout.fillWidth: true
                                implicitHeight: entryLine.implicitHeight + 20
                                radius: 8
                                color: Theme.surface
                                border.color: Theme.border
                                RowLayout {
                                    id: entryLine
                                    anchors { left: parent.left; right: parent.right; top: parent.top; margins: 10 }
                                    spacing: 10
                                    Label { text: entry.modelData.icon; font.pixelSize: 20; textFormat: Text.PlainText; Layout.alignment: Qt.AlignTop }
                                    ColumnLayout {
                                        spacing: 3
                                        Layout.fillWidth: true
                                        RowLayout {
                                            spacing: 6
                                            Rectangle {
                                                radius: 9; color: Theme.selection
                                                implicitWidth: badgeLabel.implicitWidth + 14; implicitHeight: 18
                                                Label { id: badgeLabel; anchors.centerIn: parent; text: entry.modelData.badge; font.pixelSize: 11; color: Theme.text; textFormat: Text.PlainText }
                                            }
                                            Label { text: entry.modelData.scopeLabel; font.pixelSize: 11; color: Theme.secondaryText; textFormat: Text.PlainText }
                                        }
                                        Label {
                                            text: entry.modelData.text; textFormat: Text.PlainText; color: Theme.text
                                            wrapMode: Text.Wrap; Layout.fillWidth: true
                                        }
                                        Label { text: entry.modelData.when; textFormat: Text.PlainText; color: Theme.secondaryText; font.pixelSize: 11; Layout.fillWidth: true; elide: Text.ElideRight }
                                    }
                                    PlainButton {
                                        objectName: "memoryForget-" + entry.modelData.id
                                        text: "Forget"
                                        enabled: !view.panel.memBusy
                                        Layout.alignment: Qt.AlignTop
                                        onClicked: view.panel.forget(entry.modelData.id)
                                    }
                                }
                            }
                        }
                    }
                    Label {
                        objectName: "memoryEmpty"
                        anchors.centerIn: parent
                        width: parent.width * 0.8
                        visible: groupList.count === 0 && view.panel.loaded
                        text: view.panel.emptyText
                        horizontalAlignment: Text.AlignHCenter
                        wrapMode: Text.WordWrap
                        color: Theme.secondaryText; textFormat: Text.PlainText
                    }
                }
            }

            // Graph
            Item {
                id: graph
                objectName: "memoryGraph"
                clip: true
                Repeater {
                    model: view.panel.graphNodes
                    delegate: Shape {
                        id: edge
                        required property var modelData
                        anchors.fill: parent
                        visible: edge.modelData.kind !== "centre"
                        ShapePath {
                            strokeColor: Theme.border
                            strokeWidth: 1.5
                            fillColor: "transparent"
                            startX: edge.modelData.parentX * graph.width
                            startY: edge.modelData.parentY * graph.height
                            PathLine { x: edge.modelData.x * graph.width; y: edge.modelData.y * graph.height }
                        }
                    }
                }
                Repeater {
                    model: view.panel.graphNodes
                    delegate: Rectangle {
                        id: node
                        required property var modelData
                        readonly property bool centre: modelData.kind === "centre"
                        readonly property bool hub: modelData.kind === "hub"
                        // Centred on its point, kept inside the drawing.
                        x: Math.max(0, Math.min(graph.width - width, node.modelData.x * graph.width - width / 2))
                        y: Math.max(0, Math.min(graph.height - height, node.modelData.y * graph.height - height / 2))
                        width: Math.min(nodeLine.implicitWidth + 16, node.centre ? 220 : 160)
                        height: nodeLine.implicitHeight + 10
                        radius: height / 2
                        color: node.centre ? Theme.accent : node.hub ? Theme.selection : Theme.surface
                        border.color: node.centre ? Theme.accent : Theme.border
                        RowLayout {
                            id: nodeLine
                            anchors.centerIn: parent
                            width: Math.min(implicitWidth, parent.width - 16)
                            spacing: 4
                            Label { visible: text.length > 0; text: node.modelData.icon; textFormat: Text.PlainText; font.pixelSize: node.centre ? 16 : 12 }
                            Label {
                                text: node.modelData.label; textFormat: Text.PlainText
                                color: node.centre ? Theme.accentText : Theme.text
                                font.pixelSize: node.centre ? 14 : node.hub ? 12 : 11
                                font.weight: node.centre || node.hub ? Font.DemiBold : Font.Normal
                                elide: Text.ElideRight; Layout.fillWidth: true
                            }
                        }
                    }
                }
            }
        }
    }
}
