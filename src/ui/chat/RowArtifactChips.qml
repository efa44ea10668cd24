import QtQuick
import Halvex.Controls
import Halvex.Chat

// A turn's artifacts as chips, each with its picture when it has one.
// A look of MessageRow, loaded by its address.
Flow {
    // The row that loaded this look (through its loader).
    readonly property MessageRow row: parent.parent as MessageRow
    objectName: "artifactChips"
    spacing: 6
    Repeater {
        model: row.chips
        delegate: Column {
            required property var modelData
            spacing: 4
            ArtifactPicture { address: parent.modelData.image; name: parent.modelData.artifactName }
            Chip {
                readonly property var card: parent.modelData
                text: card.title.length > 0 ? card.title : card.artifactName
                symbol: card.icon.length > 0 ? card.icon : "doc"
                enabled: card.previewable || card.destination.length > 0
                Accessible.name: "Open " + text
                onClicked: card.previewable ? row.session.openArtifact(card.messageId) : Links.open(card.destination)
            }
        }
    }
}
