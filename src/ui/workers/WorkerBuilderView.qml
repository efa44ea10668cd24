import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Workers

// Building a worker: describe it, wait for the drafted pipeline (with the elapsed time and a
// Cancel), review and edit the steps, revise them with the service, and commit. Esc closes.
Rectangle {
    id: sheet
    objectName: "workerBuilder"
    required property WorkerBuilderSheet builder
    color: Theme.window
    Keys.onEscapePressed: builder.stage === "building" ? builder.cancel() : builder.close()
    Component.onCompleted: forceActiveFocus()

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 24
        spacing: 16

        RowLayout {
            Layout.fillWidth: true
            Label {
                textFormat: Text.PlainText
                text: sheet.builder.editing ? "Edit worker" : "New worker"
                color: Theme.text; font.pixelSize: 20; font.weight: Font.DemiBold
                Layout.fillWidth: true
            }
            ToolButton {
                objectName: "closeWorkerBuilder"
                contentItem: Icon { symbol: "xmark"; size: 18; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: sheet.builder.close()
                Accessible.name: "Close"
                ToolTip.visible: hovered; ToolTip.text: "Close (Esc)"
            }
        }

        ScrollView {
            Layout.fillWidth: true
            Layout.fillHeight: true
            contentWidth: availableWidth
            clip: true
            ColumnLayout {
                width: Math.min(parent.width, 760)
                spacing: 14

                // Describe
                ColumnLayout {
                    visible: sheet.builder.stage === "prompt" && !sheet.builder.editing
                    Layout.fillWidth: true
                    spacing: 10
                    Label {
                        text: "Describe the work in plain words: what it reads, what it does with it, and where the result goes."
                        color: Theme.secondaryText; wrapMode: Text.WordWrap; Layout.fillWidth: true
                    }
                    TextArea {
                        id: description
                        objectName: "workerDescription"
                        Layout.fillWidth: true
                        Layout.preferredHeight: 140
                        text: sheet.builder.promptDraft
                        onTextChanged: if (sheet.builder.promptDraft !== text) sheet.builder.promptDraft = text
                        placeholderText: "For example: every morning, read our competitors' pricing pages, compare them with ours and post the changes to #pricing."
                        placeholderTextColor: Theme.secondaryText
                        wrapMode: TextEdit.Wrap
                        color: Theme.text
                        Accessible.name: "Description"
                        background: Rectangle { radius: 8; color: Theme.surface; border.color: description.activeFocus ? Theme.focusRing : Theme.border; border.width: description.activeFocus ? 2 : 1 }
                        Keys.onPressed: (event) => {
                            if ((event.key === Qt.Key_Return || event.key === Qt.Key_Enter) && (event.modifiers & Qt.ControlModifier)) {
                                sheet.builder.build()
                                event.accepted = true
                            }
                        }
                        Component.onCompleted: forceActiveFocus()
                    }
                    AccentButton {
                        objectName: "buildWorker"
                        text: "Build the pipeline"
                        enabled: !sheet.builder.busy
                        onClicked: sheet.builder.build()
                        ToolTip.visible: hovered; ToolTip.text: "Ctrl+Enter"
                    }
                }

                // Drafting, revising or committing
                RowLayout {
                    visible: sheet.builder.stage === "building" || sheet.builder.stage === "committing"
                             || (sheet.builder.editing && sheet.builder.busy && sheet.builder.stage === "review")
                    spacing: 8
                    Spinner { running: parent.visible; size: 20 }
                    Label {
                        objectName: "workerBuilderStatus"
                        textFormat: Text.PlainText
                        text: sheet.builder.stage === "committing" ? sheet.builder.commitLabel + "…"
                            : sheet.builder.stage === "review" ? "Loading the worker…"
                            : sheet.builder.revising ? "Revising the pipeline…" : "Drafting the pipeline…"
                        color: Theme.text
                    }
                    Label { textFormat: Text.PlainText; text: sheet.builder.elapsed; color: Theme.secondaryText; font.family: Theme.codeFont }
                    PlainButton {
                        objectName: "cancelWorkerBuild"
                        visible: sheet.builder.stage === "building"
                        text: "Cancel"
                        onClicked: sheet.builder.cancel()
                    }
                }

                // Review
                ColumnLayout {
                    visible: sheet.builder.stage === "review" && !sheet.builder.busy && sheet.builder.steps.length + sheet.builder.name.length > 0
                    Layout.fillWidth: true
                    spacing: 12
                    FormField {
                        objectName: "workerName"
                        label: "Name"
                        text: sheet.builder.name
                        onEdited: (t) => sheet.builder.name = t
                        Layout.fillWidth: true
                    }
                    Label {
                        text: [sheet.builder.summary.role, sheet.builder.summary.runMode, sheet.builder.summary.runDetail,
                               sheet.builder.summary.stepCount + " steps"].filter(s => s && String(s).length > 0).join(" · ")
                        textFormat: Text.PlainText
                        color: Theme.secondaryText; wrapMode: Text.WordWrap; Layout.fillWidth: true
                    }
                    Label { text: "Pipeline"; color: Theme.text; font.weight: Font.DemiBold }
                    Repeater {
                        model: sheet.builder.steps
                        delegate: WorkerStepEditor {
                            required property var modelData
                            builder: sheet.builder
                            step: modelData
                            count: sheet.builder.steps.length
                            Layout.fillWidth: true
                        }
                    }
                    PlainButton { objectName: "addStep"; text: "Add step"; onClicked: sheet.builder.addStep() }

                    Label { text: "Revise with AI"; color: Theme.text; font.weight: Font.DemiBold; Layout.topMargin: 6 }
                    RowLayout {
                        Layout.fillWidth: true
                        spacing: 8
                        ComboBox {
                            id: target
                            objectName: "revisionTarget"
                            model: ["Entire workflow"].concat(sheet.builder.steps.map((s, i) => "Step " + (i + 1)))
                            currentIndex: sheet.builder.revisionStepIndex + 1
                            onActivated: (i) => sheet.builder.selectRevisionStep(i - 1)
                            Accessible.name: "What to revise"
                            implicitWidth: 160
                        }
                        PlainField {
                            objectName: "reviseInstruction"
                            text: sheet.builder.reviseDraft
                            onTextEdited: sheet.builder.reviseDraft = text
                            onAccepted: sheet.builder.revise()
                            placeholderText: "For example: post to #sales instead"
                            Accessible.name: "Change to make"
                            Layout.fillWidth: true
                        }
                        AccentButton { objectName: "reviseWorker"; text: "Revise"; onClicked: sheet.builder.revise() }
                        PlainButton {
                            objectName: "undoRevision"
                            visible: sheet.builder.canUndo
                            text: "Undo"
                            onClicked: sheet.builder.undo()
                        }
                    }

                    WorkerReviewSections { model: sheet.builder.sections; Layout.fillWidth: true; Layout.topMargin: 6 }

                    ToggleSwitch {
                        objectName: "publishWorker"
                        text: "Share in the workflow Marketplace"
                        checked: sheet.builder.marketplaceAvailable
                        enabled: !sheet.builder.marketplaceLocked
                        onToggled: sheet.builder.marketplaceAvailable = checked
                    }
                    Label {
                        visible: sheet.builder.marketplaceLocked
                        text: "This worker came from the Marketplace, so it can’t be published again."
                        color: Theme.secondaryText; font.pixelSize: 12
                    }
                    RowLayout {
                        Layout.fillWidth: true
                        PlainButton { text: "Close"; onClicked: sheet.builder.close() }
                        Item { Layout.fillWidth: true }
                        AccentButton {
                            objectName: "commitWorker"
                            text: sheet.builder.editing ? "Save and activate" : "Create worker"
                            onClicked: sheet.builder.commit()
                        }
                    }
                }

                Label {
                    objectName: "workerBuilderError"
                    visible: text.length > 0
                    text: sheet.builder.error
                    textFormat: Text.PlainText
                    color: Theme.danger; wrapMode: Text.WordWrap; Layout.fillWidth: true
                }
            }
        }
    }
}
