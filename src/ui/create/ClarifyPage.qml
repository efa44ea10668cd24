import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Create

// One page of clarify questions: options to pick (one, or several where the question allows),
// a typed answer of one's own, and Back, Skip and Continue.
ColumnLayout {
    id: page
    required property CreateFlow flow
    spacing: 14

    Label { textFormat: Text.PlainText; text: page.flow.pageTitle; color: Theme.text; font.pixelSize: 18; font.weight: Font.DemiBold }
    Label { textFormat: Text.PlainText; text: page.flow.pageSubtitle; color: Theme.secondaryText; wrapMode: Text.WordWrap; Layout.fillWidth: true }

    Repeater {
        model: page.flow.questions
        delegate: ColumnLayout {
            id: question
            required property var modelData
            Layout.fillWidth: true
            spacing: 6
            Label {
                textFormat: Text.PlainText
                text: question.modelData.question + (question.modelData.multiSelect ? "  (pick any)" : "")
                color: Theme.text; font.weight: Font.DemiBold; wrapMode: Text.WordWrap; Layout.fillWidth: true
            }
            Flow {
                Layout.fillWidth: true
                spacing: 6
                Repeater {
                    model: question.modelData.options
                    delegate: Chip {
                        required property var modelData
                        objectName: "clarifyOption"
                        text: modelData.label
                        checkable: true
                        checked: modelData.chosen
                        symbol: modelData.chosen ? "checkmark" : ""
                        onClicked: page.flow.choose(question.modelData.id, modelData.value, !modelData.chosen)
                        PlainToolTip { visible: parent.hovered && modelData.hint.length > 0; text: modelData.hint }
                        Accessible.name: modelData.label + (modelData.hint.length > 0 ? " — " + modelData.hint : "")
                        Accessible.checkable: true
                        Accessible.checked: modelData.chosen
                    }
                }
            }
            PlainField {
                Layout.fillWidth: true
                placeholderText: "Or write your own answer"
                text: question.modelData.custom
                onTextEdited: page.flow.setCustomAnswer(question.modelData.id, text)
                Accessible.name: "Your answer to: " + question.modelData.question
            }
        }
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 8
        PlainButton { visible: page.flow.pageIndex > 0; text: "Back"; onClicked: page.flow.back() }
        Item { Layout.fillWidth: true }
        PlainButton { objectName: "clarifySkip"; text: "Skip"; onClicked: page.flow.skip() }
        AccentButton { objectName: "clarifyContinue"; text: "Continue"; onClicked: page.flow.next() }
    }
}
