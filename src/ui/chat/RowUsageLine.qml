import QtQuick
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Chat

// What a turn cost: one quiet line.
// A look of MessageRow, loaded by its address.
RowLayout {
    // The row that loaded this look (through its loader).
    readonly property MessageRow row: parent.parent as MessageRow
    objectName: "usageLine"
    spacing: 6
    Icon { symbol: row.card.icon.length > 0 ? row.card.icon : "chart.bar"; size: 13 }
    // The title as the service wrote it, the body as rendered (checked) rich text.
    Text {
        textFormat: Text.PlainText
        visible: text.length > 0
        Layout.maximumWidth: parent.width / 2
        text: row.card.title.length > 0 && row.card.body.length > 0 ? row.card.title + " ·" : row.card.title
        color: Theme.secondaryText; font.pixelSize: 11
        elide: Text.ElideRight
    }
    Text {
        textFormat: Text.RichText
        linkColor: Theme.accent
        visible: text.length > 0
        Layout.fillWidth: true
        text: row.card.body
        onLinkActivated: (link) => Links.open(link)
        color: Theme.secondaryText; font.pixelSize: 11
    }
}
