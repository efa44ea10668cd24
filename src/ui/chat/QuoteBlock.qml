import QtQuick
import Halvex.Controls
import Halvex.Chat

// A quotation of an answer, with its bar.
Item {
    id: quoteBlock
    // The block and its chat, from the MessageBlock that loaded this look.
    readonly property MessageBlock host: parent as MessageBlock
    readonly property var block: host.block
    readonly property ChatSession session: host.session
    implicitHeight: quoteText.implicitHeight + 4
    Rectangle { width: 3; height: parent.height; radius: 1.5; color: Theme.border }
    TextEdit {
        id: quoteText
        anchors { left: parent.left; right: parent.right; leftMargin: 12 }
        text: quoteBlock.block.text
        textFormat: TextEdit.RichText
        onLinkActivated: (link) => Links.open(link)
        wrapMode: Text.Wrap
        readOnly: true
        color: Theme.secondaryText
    }
}
