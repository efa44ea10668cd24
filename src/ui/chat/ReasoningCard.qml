import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Teams
import Halvex.Chat

// Working steps folded into one card: title, status and step count, the last stages; unfolds
// to every stage, grouped by who did them.
Rectangle {
    id: fold
    objectName: "reasoningCard"
    required property var reasoning
    property bool unfolded: false
    readonly property var blocksShown: unfolded ? fold.reasoning.full : fold.reasoning.collapsed
    radius: 10
    color: "transparent"
    border.color: Theme.border
    implicitHeight: foldBody.implicitHeight + 16
    ColumnLayout {
        id: foldBody
        anchors { left: parent.left; right: parent.right; top: parent.top; margins: 8 }
        spacing: 4
        ItemDelegate {
            id: header
            objectName: "reasoningToggle"
            Layout.fillWidth: true
            padding: 2
            Accessible.name: (fold.unfolded ? "Fold " : "Unfold ") + fold.reasoning.title
            onClicked: fold.unfolded = !fold.unfolded
            background: Rectangle { radius: 6; color: header.hovered ? Theme.hover : "transparent"; border.color: header.visualFocus ? Theme.focusRing : "transparent" }
            contentItem: RowLayout {
                spacing: 6
                Icon { symbol: fold.unfolded ? "chevron.down" : "chevron.right"; size: 16 }
                Spinner { visible: fold.reasoning.status === "running"; size: 14 }
                Icon { visible: fold.reasoning.status !== "running"; symbol: fold.reasoning.status === "failed" ? "exclamationmark.triangle" : "brain"; size: 14 }
                Text { textFormat: Text.PlainText; text: fold.reasoning.title; color: Theme.text; font.weight: Font.Medium; elide: Text.ElideRight; Layout.fillWidth: true }
                Text { textFormat: Text.PlainText; text: fold.reasoning.meta; color: Theme.secondaryText; font.pixelSize: 11 }
            }
        }
        Repeater {
            model: fold.blocksShown
            delegate: Column {
                required property var modelData
                Layout.fillWidth: true
                Layout.leftMargin: 22
                spacing: 2
                Text { textFormat: Text.PlainText; visible: text.length > 0; text: modelData.actor; color: Theme.secondaryText; font.pixelSize: 11; font.weight: Font.DemiBold }
                Repeater {
                    model: modelData.stages
                    delegate: Text {
                        required property var modelData
                        width: fold.width - 40
                        text: modelData.text
                        textFormat: Text.RichText
                        linkColor: Theme.accent
                        onLinkActivated: (link) => Links.open(link)
                        wrapMode: Text.Wrap
                        maximumLineCount: fold.unfolded ? 100 : 2
                        elide: Text.ElideRight
                        color: modelData.failed ? Theme.danger : Theme.secondaryText
                        font.pixelSize: 12
                    }
                }
            }
        }
        Text {
            textFormat: Text.PlainText
            visible: !fold.unfolded && fold.reasoning.hiddenCount > 0
            Layout.leftMargin: 22
            text: "+" + fold.reasoning.hiddenCount
            color: Theme.secondaryText; font.pixelSize: 11
        }
    }
}
