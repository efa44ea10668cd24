import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex

// One message: the user's turn as a bubble on the right, an answer as blocks, a step as a
// quiet line. Cards from the presentation layer slot in by kind.
Item {
    id: row
    required property string kind
    required property string text
    required property var blocks
    required property bool pending
    required property ChatSession session
    implicitHeight: content.implicitHeight + 14
    Accessible.role: Accessible.ListItem
    Accessible.name: (kind === "user" ? "You: " : "") + text

    Loader {
        id: content
        anchors { left: parent.left; right: parent.right; top: parent.top; topMargin: 7 }
        sourceComponent: row.kind === "user" ? userBubble : row.kind === "step" ? stepLine : answer
    }

    Component {
        id: userBubble
        Item {
            implicitHeight: bubble.height
            Rectangle {
                id: bubble
                anchors.right: parent.right
                width: Math.min(parent.width * 0.75, bubbleText.implicitWidth + 28)
                height: bubbleText.implicitHeight + 18
                radius: 14
                color: Theme.userBubble
                opacity: row.pending ? 0.7 : 1
                TextEdit {
                    id: bubbleText
                    anchors { fill: parent; leftMargin: 14; rightMargin: 14; topMargin: 9; bottomMargin: 9 }
                    text: row.text
                    wrapMode: Text.Wrap
                    readOnly: true
                    selectByMouse: true
                    color: Theme.text
                    font.pixelSize: 13
                }
            }
        }
    }
    Component {
        id: stepLine
        RowLayout {
            spacing: 6
            Icon { symbol: "hammer"; size: 14 }
            Label {
                Layout.fillWidth: true
                text: row.text
                elide: Text.ElideRight
                maximumLineCount: 1
                color: Theme.secondaryText
                font.pixelSize: 12
            }
        }
    }
    Component {
        id: answer
        Column {
            spacing: 8
            Repeater {
                model: row.blocks
                delegate: MessageBlock {
                    required property var modelData
                    block: modelData
                    session: row.session
                }
            }
        }
    }
}
