import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Workers

// One pipeline step: its type, its name and the fields of that type, moved and removed with
// the buttons on its right. Edits go to the builder as they are typed.
Rectangle {
    id: card
    required property WorkerBuilderSheet builder
    required property var step
    required property int index
    required property int count
    readonly property var types: [{ key: "llm", label: "Think" }, { key: "browse", label: "Browse" }, { key: "tool", label: "Tool" }]
    implicitHeight: column.implicitHeight + 20
    radius: 10
    color: Theme.surface
    border.color: card.builder.revisionStepIndex === card.index ? Theme.accent : Theme.border
    border.width: card.builder.revisionStepIndex === card.index ? 2 : 1

    ColumnLayout {
        id: column
        anchors { left: parent.left; right: parent.right; top: parent.top; margins: 10 }
        spacing: 8
        RowLayout {
            Layout.fillWidth: true
            spacing: 6
            Label { textFormat: Text.PlainText; text: (card.index + 1) + "."; color: Theme.secondaryText; font.weight: Font.DemiBold }
            ComboBox {
                objectName: "stepType_" + card.index
                model: card.types
                textRole: "label"
                valueRole: "key"
                currentIndex: Math.max(0, card.types.findIndex(t => t.key === card.step.type))
                onActivated: (i) => card.builder.setStepType(card.index, card.types[i].key)
                Accessible.name: "Type of step " + (card.index + 1)
                implicitWidth: 110
            }
            PlainField {
                objectName: "stepName_" + card.index
                text: card.step.name
                placeholderText: "Step name"
                onTextEdited: card.builder.setStepField(card.index, "name", text)
                Accessible.name: "Name of step " + (card.index + 1)
                Layout.fillWidth: true
            }
            ToolButton {
                enabled: card.index > 0
                contentItem: Icon { symbol: "arrow.up"; size: 15; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter; opacity: parent.enabled ? 1 : 0.4 }
                onClicked: card.builder.moveStep(card.index, true)
                Accessible.name: "Move step " + (card.index + 1) + " up"
            }
            ToolButton {
                enabled: card.index < card.count - 1
                contentItem: Icon { symbol: "arrow.down"; size: 15; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter; opacity: parent.enabled ? 1 : 0.4 }
                onClicked: card.builder.moveStep(card.index, false)
                Accessible.name: "Move step " + (card.index + 1) + " down"
            }
            ToolButton {
                objectName: "removeStep_" + card.index
                contentItem: Icon { symbol: "trash"; size: 15; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: card.builder.removeStep(card.index)
                Accessible.name: "Remove step " + (card.index + 1)
            }
        }
        StepText {
            visible: card.step.type === "llm"
            field: "prompt"; label: "Prompt"; value: card.step.prompt
        }
        PlainField {
            visible: card.step.type === "browse"
            text: card.step.url
            placeholderText: "https://…"
            onTextEdited: card.builder.setStepField(card.index, "url", text)
            Accessible.name: "Address of step " + (card.index + 1)
            Layout.fillWidth: true
        }
        StepText {
            visible: card.step.type === "browse"
            field: "instructions"; label: "What to collect"; value: card.step.instructions
        }
        PlainField {
            visible: card.step.type === "tool"
            text: card.step.toolId
            placeholderText: "Tool id, for example send_email"
            onTextEdited: card.builder.setStepField(card.index, "toolId", text)
            Accessible.name: "Tool of step " + (card.index + 1)
            Layout.fillWidth: true
        }
        StepText {
            visible: card.step.type === "tool"
            field: "argsJSON"; label: "Arguments (a JSON object)"; value: card.step.argsJSON; code: true
        }
    }

    component StepText: TextArea {
        property string field
        property string label
        property string value
        property bool code: false
        Layout.fillWidth: true
        Layout.preferredHeight: Math.max(64, implicitHeight)
        text: value
        placeholderText: label
        placeholderTextColor: Theme.secondaryText
        wrapMode: TextEdit.Wrap
        color: Theme.text
        Component.onCompleted: if (code) font.family = Theme.codeFont
        selectByMouse: true
        onTextChanged: if (text !== value) card.builder.setStepField(card.index, field, text)
        Accessible.name: label + " of step " + (card.index + 1)
        background: Rectangle { radius: 7; color: Theme.window; border.color: parent.activeFocus ? Theme.focusRing : Theme.border; border.width: parent.activeFocus ? 2 : 1 }
    }
}
