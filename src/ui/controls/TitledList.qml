import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls

// A titled list of a draft's lines; hidden when empty.
ColumnLayout {
    id: list
    property string title
    property var items: []
    visible: items.length > 0
    spacing: 2
    Layout.fillWidth: true
    Label { textFormat: Text.PlainText; text: list.title; color: Theme.secondaryText; font.pixelSize: 11; font.weight: Font.DemiBold; font.capitalization: Font.AllUppercase }
    Repeater {
        model: list.items
        delegate: Label {
            required property string modelData
            text: "• " + modelData
            textFormat: Text.PlainText
            color: Theme.text; wrapMode: Text.WordWrap; Layout.fillWidth: true
        }
    }
}
