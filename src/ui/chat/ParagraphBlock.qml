import QtQuick
import Halvex.Controls
import Halvex.Chat

// A paragraph of an answer, as rendered rich text (see MessageBlock).
TextEdit {
    // The block and its chat, from the MessageBlock that loaded this look.
    readonly property MessageBlock host: parent as MessageBlock
    readonly property var block: host.block
    readonly property ChatSession session: host.session
    text: block.text
    textFormat: TextEdit.RichText
    wrapMode: Text.Wrap
    readOnly: true
    selectByMouse: true
    color: Theme.text
    selectionColor: Theme.selection
    selectedTextColor: Theme.text
    onLinkActivated: (link) => Links.open(link)
}
