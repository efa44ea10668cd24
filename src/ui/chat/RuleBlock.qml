import QtQuick
import Halvex.Controls
import Halvex.Chat

// A horizontal rule of an answer.
Item {
    // The block and its chat, from the MessageBlock that loaded this look.
    readonly property MessageBlock host: parent as MessageBlock
    readonly property var block: host.block
    readonly property ChatSession session: host.session
    implicitHeight: 13
    Rectangle { anchors.centerIn: parent; width: parent.width; height: 1; color: Theme.border }
}
