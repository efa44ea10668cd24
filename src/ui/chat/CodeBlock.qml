import QtQuick
import QtQuick.Controls
import Halvex.Controls
import Halvex.Chat

// A code block of an answer, in the code font, with its copy button.
Rectangle {
    id: codeBlock
    // The block and its chat, from the MessageBlock that loaded this look.
    readonly property MessageBlock host: parent as MessageBlock
    readonly property var block: host.block
    readonly property ChatSession session: host.session
    radius: 8
    color: Theme.codeBackground
    border.color: Theme.border
    implicitHeight: codeText.implicitHeight + 20
    TextEdit {
        id: codeText
        anchors { left: parent.left; right: copy.left; top: parent.top; margins: 10 }
        text: codeBlock.block.text
        font.family: Theme.codeFont
        font.pointSize: 12.5
        color: Theme.text
        readOnly: true
        selectByMouse: true
        wrapMode: Text.WrapAnywhere
    }
    ToolButton {
        id: copy
        anchors { right: parent.right; top: parent.top; margins: 4 }
        property bool copied: false
        contentItem: Icon { symbol: copy.copied ? "checkmark" : "doc.on.doc"; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
        Accessible.name: "Copy code"
        ToolTip.visible: hovered; ToolTip.text: copied ? "Copied" : "Copy"
        onClicked: { codeBlock.session.copyText(codeBlock.block.text); copied = true }
    }
}
