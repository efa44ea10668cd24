import QtQuick
import Halvex.Controls
import Halvex.Chat

// A bulleted or numbered list of an answer, indented by its depth.
Column {
    id: listBlock
    // The block and its chat, from the MessageBlock that loaded this look.
    readonly property MessageBlock host: parent as MessageBlock
    readonly property var block: host.block
    readonly property ChatSession session: host.session
    spacing: 3
    leftPadding: 4 + block.indent * 16
    Repeater {
        model: listBlock.block.items
        delegate: Row {
            required property string modelData
            required property int index
            spacing: 6
            Text {
                textFormat: Text.PlainText
                text: listBlock.block.kind === "ordered" ? (listBlock.block.start + index) + "." : "•"
                color: Theme.secondaryText
                width: 18
                horizontalAlignment: Text.AlignRight
            }
            TextEdit {
                width: listBlock.width - 40 - listBlock.block.indent * 16
                text: modelData
                textFormat: TextEdit.RichText
                onLinkActivated: (link) => Links.open(link)
                wrapMode: Text.Wrap
                readOnly: true
                selectByMouse: true
                color: Theme.text
            }
        }
    }
}
