import QtQuick
import Halvex.Controls
import Halvex.Chat

// A paragraph of an answer, as rendered rich text (see MessageBlock).
TextEdit {
    required property var block
    required property ChatSession session
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
