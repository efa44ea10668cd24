import QtQuick
import Halvex.Controls
import Halvex.Chat

// A horizontal rule of an answer.
Item {
    required property var block
    required property ChatSession session
    implicitHeight: 13
    Rectangle { anchors.centerIn: parent; width: parent.width; height: 1; color: Theme.border }
}
