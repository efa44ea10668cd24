import QtQuick
import Halvex.Controls
import Halvex.Chat

// An answer: its parsed blocks, then the replies it suggests as chips.
// A look of MessageRow, loaded by its address.
Column {
    // The row that loaded this look (through its loader).
    readonly property MessageRow row: parent.parent as MessageRow
    objectName: "answerBlocks"
    spacing: 8
    Repeater {
        model: row.blocks
        delegate: MessageBlock {
            required property var modelData
            block: modelData
            session: row.session
        }
    }
    Flow {
        width: parent.width
        spacing: 6
        visible: row.choices.length > 0
        Repeater {
            model: row.choices
            delegate: Chip {
                required property string modelData
                objectName: "choiceChip"
                text: modelData
                Accessible.name: "Reply: " + modelData
                onClicked: row.session.chat.sendQuick(modelData)
            }
        }
    }
}
