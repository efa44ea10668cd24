import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls

// What the draft saves besides its steps, under the five review headings.
ColumnLayout {
    id: sections
    required property var model
    spacing: 12
    Repeater {
        model: sections.model
        delegate: ColumnLayout {
            required property var modelData
            Layout.fillWidth: true
            spacing: 3
            Label { textFormat: Text.PlainText; text: modelData.heading; color: Theme.text; font.weight: Font.DemiBold }
            Label { textFormat: Text.PlainText; text: modelData.caption; color: Theme.secondaryText; font.pixelSize: 12 }
            Label {
                textFormat: Text.PlainText
                visible: modelData.items.length === 0
                text: modelData.emptyText
                color: Theme.secondaryText; font.italic: true; font.pixelSize: 12
            }
            Repeater {
                model: modelData.items
                delegate: Label {
                    required property string modelData
                    text: modelData
                    textFormat: Text.PlainText
                    color: Theme.text; wrapMode: Text.WordWrap; maximumLineCount: 6; elide: Text.ElideRight
                    Layout.fillWidth: true
                }
            }
        }
    }
}
