import QtQuick
import QtQuick.Controls
import Halvex.Controls
import Halvex.Chat

// A research report of an answer: each finding's title, body and source buttons.
Column {
    id: reportBlock
    // The block and its chat, from the MessageBlock that loaded this look.
    readonly property MessageBlock host: parent as MessageBlock
    readonly property var block: host.block
    readonly property ChatSession session: host.session
    spacing: 10
    Repeater {
        model: reportBlock.block.items
        delegate: Column {
            required property var modelData
            required property int index
            width: reportBlock.width
            spacing: 4
            Text {
                width: parent.width
                text: (reportBlock.block.ordered ? (reportBlock.block.start + index) + ". " : "") + modelData.title
                textFormat: Text.RichText
                linkColor: Theme.accent
                onLinkActivated: (link) => Links.open(link)
                wrapMode: Text.Wrap
                color: Theme.text; font.weight: Font.DemiBold
            }
            TextEdit {
                width: parent.width
                visible: text.length > 0
                text: modelData.body
                textFormat: TextEdit.RichText
                onLinkActivated: (link) => Links.open(link)
                wrapMode: Text.Wrap; readOnly: true; selectByMouse: true
                color: Theme.text
            }
            Text {
                textFormat: Text.PlainText
                visible: modelData.sources.length > 0
                text: modelData.sourcesTitle
                color: Theme.secondaryText; font.pixelSize: 11; font.weight: Font.DemiBold
                font.capitalization: Font.AllUppercase
            }
            Flow {
                width: parent.width
                spacing: 6
                Repeater {
                    model: modelData.sources
                    delegate: Button {
                        required property var modelData
                        text: modelData.label
                        enabled: modelData.url.length > 0
                        font.pixelSize: 11
                        onClicked: Links.open(modelData.url)
                        Accessible.name: "Source: " + modelData.label
                        contentItem: Text { text: parent.text; textFormat: Text.PlainText; color: Theme.accent; font: parent.font }
                        background: Rectangle { radius: 10; color: Theme.surface; border.color: Theme.border; implicitHeight: 22 }
                    }
                }
            }
        }
    }
}
