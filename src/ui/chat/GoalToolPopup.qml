import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Chat

// The chat's goals: what this employee or team is working towards, and a guided setup for a
// new goal (an objective, a few questions from the service, then it starts).
Popup {
    id: popup
    objectName: "goalToolPopup"
    required property GoalToolPanel panel
    width: 420
    padding: 14
    focus: true
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
    onOpened: panel.open()
    background: Rectangle { radius: 12; color: Theme.raised; border.color: Theme.border }

    contentItem: ColumnLayout {
        spacing: 10
        RowLayout {
            Label { text: "Goals"; color: Theme.text; font.weight: Font.DemiBold; Layout.fillWidth: true }
            BusyIndicator { visible: popup.panel.busy; running: visible; implicitWidth: 18; implicitHeight: 18 }
            PlainButton { visible: popup.panel.mode !== "list"; text: "Back"; onClicked: popup.panel.backToList() }
        }

        // The list
        ColumnLayout {
            visible: popup.panel.mode === "list"
            Layout.fillWidth: true
            spacing: 6
            Label { visible: popup.panel.loaded && popup.panel.rows.length === 0; text: "No goals yet in this chat."; color: Theme.secondaryText }
            Repeater {
                model: popup.panel.rows
                delegate: RowLayout {
                    required property var modelData
                    objectName: "goalRow"
                    Layout.fillWidth: true
                    Rectangle { width: 8; height: 8; radius: 4; color: modelData.tone === "attention" ? Theme.danger : modelData.tone === "working" ? Theme.accent : Theme.success }
                    ColumnLayout {
                        spacing: 0
                        Layout.fillWidth: true
                        Label { text: modelData.title; textFormat: Text.PlainText; color: Theme.text; elide: Text.ElideRight; Layout.fillWidth: true }
                        Label { text: [modelData.status, modelData.detail].filter(s => s.length > 0).join(" · "); textFormat: Text.PlainText; color: Theme.secondaryText; font.pixelSize: 12; elide: Text.ElideRight; Layout.fillWidth: true }
                    }
                }
            }
            AccentButton { objectName: "newGoal"; text: "New goal"; onClicked: popup.panel.startCreate() }
        }

        // The objective
        ColumnLayout {
            visible: popup.panel.mode === "create"
            Layout.fillWidth: true
            spacing: 6
            Label { text: "What should be achieved?"; color: Theme.text }
            PlainField {
                objectName: "goalObjective"
                Layout.fillWidth: true
                text: popup.panel.objectiveDraft
                onTextEdited: popup.panel.objectiveDraft = text
                onAccepted: popup.panel.submitObjective()
                placeholderText: "For example: 20 qualified leads a week"
                Accessible.name: "Objective"
            }
            AccentButton { text: "Continue"; enabled: !popup.panel.busy; onClicked: popup.panel.submitObjective() }
        }

        // A question of the setup
        ColumnLayout {
            visible: popup.panel.mode === "question"
            Layout.fillWidth: true
            spacing: 6
            Label { textFormat: Text.PlainText; text: popup.panel.progress; color: Theme.secondaryText; font.pixelSize: 12; visible: text.length > 0 }
            Label { text: popup.panel.modeText; textFormat: Text.PlainText; color: Theme.text; wrapMode: Text.WordWrap; Layout.fillWidth: true }
            Flow {
                Layout.fillWidth: true
                spacing: 6
                Repeater {
                    model: popup.panel.options
                    delegate: Chip { required property string modelData; text: modelData; enabled: !popup.panel.busy; onClicked: popup.panel.answer(modelData) }
                }
            }
            PlainField {
                objectName: "goalAnswer"
                Layout.fillWidth: true
                text: popup.panel.answerDraft
                onTextEdited: popup.panel.answerDraft = text
                onAccepted: popup.panel.answer(text)
                placeholderText: "Or in your own words"
                Accessible.name: "Answer"
            }
        }

        // Started
        ColumnLayout {
            visible: popup.panel.mode === "done"
            Layout.fillWidth: true
            Label { text: "Goal started"; color: Theme.success; font.weight: Font.DemiBold }
            Label { text: popup.panel.modeText; textFormat: Text.PlainText; color: Theme.text; wrapMode: Text.WordWrap; Layout.fillWidth: true }
        }

        Label { visible: text.length > 0; text: popup.panel.notice; textFormat: Text.PlainText; color: Theme.secondaryText; wrapMode: Text.WordWrap; Layout.fillWidth: true }
        RowLayout {
            visible: popup.panel.error.length > 0
            Layout.fillWidth: true
            Label { text: popup.panel.error; textFormat: Text.PlainText; color: Theme.danger; wrapMode: Text.WordWrap; Layout.fillWidth: true }
            PlainButton { text: "Try again"; onClicked: popup.panel.retry() }
        }
    }
}
