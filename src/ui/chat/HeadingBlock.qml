import QtQuick
import Halvex.Controls
import Halvex.Chat

// A heading of an answer, sized by its level.
TextEdit {
    // The block and its chat, from the MessageBlock that loaded this look.
    readonly property MessageBlock host: parent as MessageBlock
    readonly property var block: host.block
    readonly property ChatSession session: host.session
    text: block.text
    textFormat: TextEdit.RichText
    onLinkActivated: (link) => Links.open(link)
    wrapMode: Text.Wrap
    readOnly: true
    selectByMouse: true
    color: Theme.text
    font.pixelSize: block.level <= 1 ? 20 : block.level === 2 ? 17 : 15
    font.weight: Font.DemiBold
    topPadding: 4
}
