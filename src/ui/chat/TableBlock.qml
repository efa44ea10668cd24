import QtQuick
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Chat

// A table of an answer: its header row, then its cells, short rows padded.
Rectangle {
    id: tableBlock
    // The block and its chat, from the MessageBlock that loaded this look.
    readonly property MessageBlock host: parent as MessageBlock
    readonly property var block: host.block
    readonly property ChatSession session: host.session
    radius: 6
    border.color: Theme.border
    color: "transparent"
    implicitHeight: grid.implicitHeight + 2
    clip: true
    GridLayout {
        id: grid
        x: 1; y: 1
        width: parent.width - 2
        columns: Math.max(1, tableBlock.block.header.length)
        rowSpacing: 0
        columnSpacing: 0
        Repeater {
            model: tableBlock.block.header
            delegate: Rectangle {
                required property string modelData
                Layout.fillWidth: true
                implicitHeight: headerCell.implicitHeight + 12
                color: Theme.surface
                Text {
                    id: headerCell
                    anchors { fill: parent; margins: 6 }
                    text: modelData; textFormat: Text.RichText; onLinkActivated: (link) => Links.open(link); wrapMode: Text.Wrap
                    color: Theme.text; font.weight: Font.DemiBold
                }
            }
        }
        Repeater {
            model: tableBlock.block.rows.reduce((cells, row) => cells.concat(row.concat(Array(Math.max(0, grid.columns - row.length)).fill("")).slice(0, grid.columns)), [])
            delegate: Rectangle {
                required property string modelData
                Layout.fillWidth: true
                implicitHeight: cell.implicitHeight + 12
                color: "transparent"
                border.color: Theme.border
                border.width: 0
                Rectangle { anchors.top: parent.top; width: parent.width; height: 1; color: Theme.border }
                Text {
                    id: cell
                    anchors { fill: parent; margins: 6 }
                    text: modelData; textFormat: Text.RichText; onLinkActivated: (link) => Links.open(link); wrapMode: Text.Wrap
                    color: Theme.text
                }
            }
        }
    }
}
