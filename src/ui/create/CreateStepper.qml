import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls

// The five stages of creating: Brief, Design, Details, Review, Ready.
RowLayout {
    id: stepper
    required property var stages
    spacing: 6
    Accessible.role: Accessible.ProgressBar
    Accessible.name: "Progress"
    Repeater {
        model: stepper.stages
        delegate: RowLayout {
            required property var modelData
            required property int index
            spacing: 6
            Rectangle {
                visible: index > 0
                width: 24; height: 1
                color: Theme.border
            }
            Rectangle {
                width: 22; height: 22; radius: 11
                color: modelData.status === "completed" ? Theme.accent
                     : modelData.status === "active" ? Theme.selection : "transparent"
                border.color: modelData.status === "pending" || modelData.status === "skipped" ? Theme.border : Theme.accent
                Icon {
                    anchors.centerIn: parent
                    visible: modelData.status === "completed"
                    symbol: "checkmark"; size: 14; color: Theme.accentText
                }
                Label {
                    textFormat: Text.PlainText
                    anchors.centerIn: parent
                    visible: modelData.status !== "completed"
                    text: modelData.status === "skipped" ? "–" : String(index + 1)
                    color: modelData.status === "active" ? Theme.accent : Theme.secondaryText
                    font.pixelSize: 11; font.weight: Font.DemiBold
                }
            }
            Label {
                textFormat: Text.PlainText
                text: modelData.title
                color: modelData.status === "active" ? Theme.text : Theme.secondaryText
                font.weight: modelData.status === "active" ? Font.DemiBold : Font.Normal
                Accessible.name: modelData.title + ": " + modelData.status
            }
        }
    }
}
