import QtQuick
import QtQuick.Controls
import Halvex.Controls

// Rows of plain-text cells under a header, scrolling both ways; only the rows in view are made,
// so a preview of a thousand rows stays light. Long cells elide and show in full on hover.
Flickable {
    id: table
    property var columns: []
    property var rows: []
    property real columnWidth: 160
    readonly property real tableWidth: Math.max(1, columns.length) * columnWidth
    clip: true
    contentWidth: Math.max(width, tableWidth)
    contentHeight: height
    flickableDirection: Flickable.HorizontalFlick
    ScrollBar.horizontal: ScrollBar {}

    component Cell: Rectangle {
        id: cell
        property string value
        property bool header: false
        width: table.columnWidth; height: header ? 30 : 28
        color: header ? Theme.surface : "transparent"
        border.color: Theme.border
        Label {
            anchors { fill: parent; margins: 6 }
            text: parent.value; textFormat: Text.PlainText; elide: Text.ElideRight
            color: Theme.text; verticalAlignment: Text.AlignVCenter
            font.weight: parent.header ? Font.DemiBold : Font.Normal
            MouseArea { id: cellArea; anchors.fill: parent; hoverEnabled: true; acceptedButtons: Qt.NoButton }
            // Made only while a cut-off cell is hovered: a table has many cells.
            Loader {
                active: parent.truncated && cellArea.containsMouse
                sourceComponent: PlainToolTip { parent: cellArea; visible: true; text: cell.value }
            }
        }
    }

    Row {
        id: headerRow
        Repeater {
            model: table.columns
            delegate: Cell { required property string modelData; value: modelData; header: true }
        }
    }
    ListView {
        objectName: "dataTableRows"
        anchors.top: headerRow.bottom
        width: table.tableWidth
        height: table.height - headerRow.height
        clip: true
        model: table.rows
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}
        delegate: Row {
            required property var modelData
            Repeater {
                model: modelData
                delegate: Cell { required property string modelData; value: modelData }
            }
        }
    }
}
