import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Projects

// One intake question: its options as chips, or an answer in the user's own words.
ColumnLayout {
    id: view
    required property ProjectIntake intake
    required property var question
    readonly property string key: question.key || ""
    spacing: 8

    Label { text: view.question.question || ""; textFormat: Text.PlainText; color: Theme.text; font.pixelSize: 14; font.weight: Font.DemiBold; wrapMode: Text.WordWrap; Layout.fillWidth: true }
    Label {
        visible: text.length > 0
        text: view.question.hint || ""
        textFormat: Text.PlainText
        color: Theme.secondaryText; font.pixelSize: 12; wrapMode: Text.WordWrap; Layout.fillWidth: true
    }
    Flow {
        Layout.fillWidth: true
        spacing: 6
        Repeater {
            model: view.question.options || []
            delegate: Chip {
                required property string modelData
                required property int index
                objectName: "option" + index
                text: modelData
                checkable: true
                // A typed answer wins over a chosen option.
                checked: view.question.chosen === modelData && (view.question.typed || "").trim().length === 0
                onClicked: view.intake.choose(view.key, modelData)
            }
        }
    }
    PlainField {
        objectName: "typedAnswer"
        Layout.fillWidth: true
        placeholderText: "Or type your answer…"
        text: view.question.typed || ""
        onTextEdited: view.intake.type(view.key, text)
        Accessible.name: "Your answer to: " + (view.question.question || "")
    }
}
