import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Create

// Creating an employee, a worker or a team from a description: the stepper, then one page per
// step. Escape or the close button leaves; a running generation stops with it.
Rectangle {
    id: screen
    objectName: "createScreen"
    required property CreateFlow flow
    color: Theme.window
    Keys.onEscapePressed: flow.close()
    Component.onCompleted: forceActiveFocus()

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 24
        spacing: 18

        RowLayout {
            Layout.fillWidth: true
            Label {
                textFormat: Text.PlainText
                text: screen.flow.kind === "team" ? "New team" : screen.flow.mode === "worker" ? "New worker" : "New employee"
                color: Theme.text; font.pixelSize: 20; font.weight: Font.DemiBold
                Layout.fillWidth: true
            }
            ToolButton {
                objectName: "closeCreate"
                contentItem: Icon { symbol: "xmark"; size: 18; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: screen.flow.close()
                Accessible.name: "Close"
                ToolTip.visible: hovered; ToolTip.text: "Close (Esc)"
            }
        }
        CreateStepper { stages: screen.flow.stages }

        ScrollView {
            Layout.fillWidth: true
            Layout.fillHeight: true
            contentWidth: availableWidth
            clip: true
            ColumnLayout {
                width: Math.min(parent.width, 720)
                spacing: 14

                // Describe
                ColumnLayout {
                    visible: screen.flow.step === "describe"
                    Layout.fillWidth: true
                    spacing: 10
                    RowLayout {
                        spacing: 6
                        Repeater {
                            model: [{ key: "employee", label: "Employee" }, { key: "worker", label: "Worker" }, { key: "team", label: "Team" }]
                            delegate: Chip {
                                required property var modelData
                                readonly property bool current: modelData.key === "team" ? screen.flow.kind === "team"
                                    : screen.flow.kind !== "team" && screen.flow.mode === modelData.key
                                text: modelData.label
                                symbol: current ? "checkmark" : ""
                                onClicked: screen.flow.start(modelData.key)
                                Accessible.checked: current
                            }
                        }
                    }
                    Label {
                        textFormat: Text.PlainText
                        text: screen.flow.kind === "team" ? "Describe the team: what it should deliver and who does what."
                                                          : "Describe the job in plain words: what to do, for whom, and what good looks like."
                        color: Theme.secondaryText; wrapMode: Text.WordWrap; Layout.fillWidth: true
                    }
                    TextArea {
                        id: briefInput
                        objectName: "createBrief"
                        Layout.fillWidth: true
                        Layout.preferredHeight: 140
                        text: screen.flow.brief
                        onTextChanged: if (screen.flow.brief !== text) screen.flow.brief = text
                        placeholderText: "For example: answer customer e-mails about orders within an hour, politely and in the customer's language."
                        placeholderTextColor: Theme.secondaryText
                        wrapMode: TextEdit.Wrap
                        color: Theme.text
                        Accessible.name: "Description"
                        background: Rectangle { radius: 8; color: Theme.surface; border.color: briefInput.activeFocus ? Theme.focusRing : Theme.border; border.width: briefInput.activeFocus ? 2 : 1 }
                        Keys.onPressed: (event) => {
                            if ((event.key === Qt.Key_Return || event.key === Qt.Key_Enter) && (event.modifiers & Qt.ControlModifier)) {
                                if (screen.flow.canGenerate) screen.flow.generate()
                                event.accepted = true
                            }
                        }
                        Component.onCompleted: forceActiveFocus()
                    }
                    RowLayout {
                        visible: screen.flow.kind !== "team"
                        spacing: 8
                        Label { text: "Built with"; color: Theme.secondaryText }
                        ModelMenu {
                            objectName: "builderModel"
                            selected: screen.flow.builderModelId
                            onPicked: (id) => screen.flow.builderModelId = id
                            Accessible.name: "Model that builds the draft"
                        }
                    }
                    AccentButton {
                        objectName: "generateDraft"
                        text: "Generate draft"
                        enabled: screen.flow.canGenerate
                        onClicked: screen.flow.generate()
                        ToolTip.visible: hovered; ToolTip.text: "Ctrl+Enter"
                    }
                }

                // Generating (and hiring)
                ColumnLayout {
                    visible: screen.flow.step === "generating"
                    spacing: 10
                    RowLayout {
                        spacing: 8
                        Spinner { running: parent.visible; size: 20 }
                        Label { textFormat: Text.PlainText; objectName: "createStatus"; text: screen.flow.statusNote; color: Theme.text }
                        Label { textFormat: Text.PlainText; text: screen.flow.elapsed; color: Theme.secondaryText; font.family: Theme.codeFont }
                    }
                    PlainButton { visible: !screen.flow.creating; text: "Cancel"; onClicked: screen.flow.backToDescribe() }
                }

                ClarifyPage {
                    visible: screen.flow.step === "clarify"
                    flow: screen.flow
                    Layout.fillWidth: true
                }

                ColumnLayout {
                    visible: screen.flow.step === "review"
                    Layout.fillWidth: true
                    spacing: 14
                    ReviewPage { flow: screen.flow; Layout.fillWidth: true }
                    RowLayout {
                        PlainButton { text: "Back to description"; onClicked: screen.flow.backToDescribe() }
                        Item { Layout.fillWidth: true }
                        AccentButton {
                            objectName: "hire"
                            text: screen.flow.kind === "team" ? "Create team" : "Hire"
                            onClicked: screen.flow.hire()
                        }
                    }
                }

                Label {
                    objectName: "createError"
                    textFormat: Text.PlainText
                    visible: text.length > 0
                    text: screen.flow.error
                    color: Theme.danger; wrapMode: Text.WordWrap; Layout.fillWidth: true
                }
            }
        }
    }
}
