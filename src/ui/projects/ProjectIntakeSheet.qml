import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Projects

// A new project in four steps, on a sheet centred over the window: about (name, website,
// description, links and files), the few questions the sources leave open, the review of the
// five-field profile, and the people step once the project exists. Esc stops the work in
// progress, or closes the sheet (the intake is kept as a draft).
FocusScope {
    id: sheet
    objectName: "projectIntakeSheet"
    required property ProjectIntake intake
    readonly property string step: intake.step
    readonly property var fieldKeys: ["description", "product_audience", "desired_result", "competitors", "constraints"]
    focus: true
    Keys.onEscapePressed: intake.busy ? intake.cancel() : intake.close()
    Component.onCompleted: forceActiveFocus()

    // The window behind is out of reach while the sheet is open.
    Rectangle {
        anchors.fill: parent
        color: "#000000"
        opacity: 0.35
        MouseArea { anchors.fill: parent; acceptedButtons: Qt.AllButtons; onWheel: (wheel) => wheel.accepted = true }
    }

    Rectangle {
        id: card
        objectName: "projectIntakeCard"
        anchors.centerIn: parent
        width: Math.min(parent.width - 48, 720)
        height: Math.min(parent.height - 48, 720)
        radius: 12
        color: Theme.window
        border.color: Theme.border

        ColumnLayout {
            anchors.fill: parent
            anchors.margins: 24
            spacing: 14

            RowLayout {
                Layout.fillWidth: true
                spacing: 12
                ColumnLayout {
                    spacing: 2
                    Layout.fillWidth: true
                    Label { text: "New project"; color: Theme.text; font.pixelSize: 20; font.weight: Font.DemiBold }
                    Label {
                        textFormat: Text.PlainText
                        text: sheet.step === "about" ? "Tell us what the project is about. We read what you give us and ask only what is still open."
                            : sheet.step === "questions" ? "A few decisions the sources leave open."
                            : sheet.step === "review" ? "Check the profile every employee of the project will read."
                            : "The project is ready."
                        color: Theme.secondaryText; wrapMode: Text.WordWrap; Layout.fillWidth: true
                    }
                }
                ToolButton {
                    objectName: "closeProjectIntake"
                    contentItem: Icon { symbol: "xmark"; size: 18; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                    onClicked: sheet.intake.close()
                    Accessible.name: "Close"
                    ToolTip.visible: hovered; ToolTip.text: "Close (Esc)"
                    Layout.alignment: Qt.AlignTop
                }
            }

            // Where the intake stands.
            RowLayout {
                objectName: "projectIntakeSteps"
                spacing: 6
                Repeater {
                    model: [{ key: "about", title: "About" }, { key: "questions", title: "Questions" },
                            { key: "review", title: "Review" }, { key: "people", title: "People" }]
                    delegate: RowLayout {
                        id: stepMark
                        required property var modelData
                        required property int index
                        readonly property bool current: sheet.step === modelData.key
                        spacing: 6
                        Rectangle {
                            implicitWidth: 20; implicitHeight: 20; radius: 10
                            color: stepMark.current ? Theme.accent : Theme.surface
                            border.color: stepMark.current ? Theme.accent : Theme.border
                            Label { textFormat: Text.PlainText; anchors.centerIn: parent; text: stepMark.index + 1; font.pixelSize: 11; color: stepMark.current ? Theme.accentText : Theme.secondaryText }
                        }
                        Label { textFormat: Text.PlainText; text: stepMark.modelData.title; color: stepMark.current ? Theme.text : Theme.secondaryText; font.weight: stepMark.current ? Font.DemiBold : Font.Normal }
                        Rectangle { visible: stepMark.index < 3; implicitWidth: 18; implicitHeight: 1; color: Theme.border }
                    }
                }
            }

            Rectangle { Layout.fillWidth: true; implicitHeight: 1; color: Theme.border }

            ScrollView {
                id: body
                Layout.fillWidth: true
                Layout.fillHeight: true
                contentWidth: availableWidth
                clip: true

                ColumnLayout {
                    width: body.availableWidth
                    spacing: 14

                    ProjectIntakeProgressPanel {
                        visible: sheet.intake.working
                        progress: sheet.intake.progress
                        Layout.fillWidth: true
                    }

                    // About
                    ColumnLayout {
                        visible: sheet.step === "about" && !sheet.intake.working
                        Layout.fillWidth: true
                        spacing: 12
                        FormField {
                            id: nameField
                            objectName: "intakeName"
                            label: "Name"
                            placeholder: "For example: Rosehip & Rye"
                            text: sheet.intake.label
                            onEdited: (t) => sheet.intake.label = t
                            Layout.fillWidth: true
                            Component.onCompleted: forceActiveFocus()
                        }
                        Label {
                            text: sheet.intake.addressPreview
                            visible: sheet.intake.label.trim().length > 0
                            textFormat: Text.PlainText
                            color: Theme.secondaryText; font.pixelSize: 12
                        }
                        FormField {
                            objectName: "intakeWebsite"
                            label: "Public website (optional)"
                            placeholder: "example.com"
                            text: sheet.intake.website
                            onEdited: (t) => sheet.intake.website = t
                            Layout.fillWidth: true
                        }
                        ProjectIntakeTextArea {
                            objectName: "intakeDescription"
                            title: "Short description (optional)"
                            placeholder: "What the project is, who it is for, and what should come out of it."
                            text: sheet.intake.description
                            onEdited: (t) => sheet.intake.description = t
                            Layout.fillWidth: true
                        }
                        ProjectIntakeTextArea {
                            objectName: "intakeLinks"
                            title: "More links (optional, one per line)"
                            placeholder: "https://…"
                            text: sheet.intake.links
                            onEdited: (t) => sheet.intake.links = t
                            areaHeight: 64
                            Layout.fillWidth: true
                        }
                        RowLayout {
                            Layout.fillWidth: true
                            spacing: 8
                            PlainButton { objectName: "intakeAddFiles"; text: "Add files…"; onClicked: picker.open() }
                            Label {
                                textFormat: Text.PlainText
                                text: sheet.intake.files.length === 0 ? "Files you add are shared with the project’s employees."
                                    : sheet.intake.files.length + (sheet.intake.files.length === 1 ? " file" : " files")
                                color: Theme.secondaryText; font.pixelSize: 12; Layout.fillWidth: true; elide: Text.ElideRight
                            }
                            FileDialog { id: picker; fileMode: FileDialog.OpenFiles; onAccepted: sheet.intake.addFiles(selectedFiles) }
                        }
                        Repeater {
                            model: sheet.intake.files
                            delegate: RowLayout {
                                id: fileRow
                                required property var modelData
                                required property int index
                                Layout.fillWidth: true
                                Icon { symbol: "doc"; size: 14 }
                                Label { text: fileRow.modelData.name; textFormat: Text.PlainText; color: Theme.text; elide: Text.ElideMiddle; Layout.fillWidth: true }
                                ToolButton {
                                    contentItem: Icon { symbol: "xmark"; size: 13; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                                    onClicked: sheet.intake.removeFile(fileRow.index)
                                    Accessible.name: "Remove " + fileRow.modelData.name
                                }
                            }
                        }
                        Label {
                            textFormat: Text.PlainText
                            visible: text.length > 0
                            text: sheet.intake.filesNotice
                            color: Theme.danger; font.pixelSize: 12
                        }
                    }

                    // Questions
                    ColumnLayout {
                        visible: sheet.step === "questions" && !sheet.intake.working
                        Layout.fillWidth: true
                        spacing: 16
                        Label { textFormat: Text.PlainText; objectName: "intakePageTitle"; text: sheet.intake.pageTitle; color: Theme.secondaryText; font.pixelSize: 12; font.weight: Font.DemiBold }
                        Label {
                            visible: text.length > 0
                            text: sheet.intake.sourceWarning
                            textFormat: Text.PlainText
                            color: Theme.danger; wrapMode: Text.WordWrap; Layout.fillWidth: true
                        }
                        // Counted, not listed: typing an answer must not rebuild the question under it.
                        Repeater {
                            model: sheet.intake.pageQuestions.length
                            delegate: ProjectIntakeQuestionView {
                                required property int index
                                objectName: "intakeQuestion" + index
                                intake: sheet.intake
                                question: sheet.intake.pageQuestions[index] || ({})
                                Layout.fillWidth: true
                            }
                        }
                    }

                    // Review
                    ColumnLayout {
                        visible: sheet.step === "review" && !sheet.intake.working
                        Layout.fillWidth: true
                        spacing: 14
                        FormField {
                            objectName: "intakeReviewName"
                            label: "Name"
                            text: sheet.intake.label
                            onEdited: (t) => sheet.intake.label = t
                            Layout.fillWidth: true
                        }
                        Label {
                            objectName: "intakeAddress"
                            text: sheet.intake.addressPreview
                            textFormat: Text.PlainText
                            color: Theme.secondaryText; font.pixelSize: 12; font.family: Theme.codeFont
                        }
                        Repeater {
                            model: sheet.fieldKeys
                            delegate: ProjectIntakeTextArea {
                                required property int index
                                readonly property var field: sheet.intake.fields[index] || ({})
                                objectName: "intakeField_" + sheet.fieldKeys[index]
                                title: field.title || ""
                                hint: field.hint || ""
                                flagged: field.needsInput === true
                                text: field.text || ""
                                onEdited: (t) => sheet.intake.setField(sheet.fieldKeys[index], t)
                                areaHeight: index === 0 ? 84 : 72
                                Layout.fillWidth: true
                            }
                        }
                    }

                    // People
                    ColumnLayout {
                        objectName: "intakePeople"
                        visible: sheet.step === "people"
                        Layout.fillWidth: true
                        spacing: 12
                        RowLayout {
                            spacing: 8
                            Icon { symbol: "checkmark.circle"; size: 22; color: Theme.success }
                            Label {
                                text: "“" + sheet.intake.createdLabel + "” is ready"
                                textFormat: Text.PlainText
                                color: Theme.text; font.pixelSize: 17; font.weight: Font.DemiBold
                            }
                        }
                        Label {
                            objectName: "intakeOutcome"
                            textFormat: Text.PlainText
                            text: sheet.intake.warnings.length > 0 ? "The project was created, but some materials did not land:"
                                                                   : "Shared profile, memory and materials are ready."
                            color: sheet.intake.warnings.length > 0 ? Theme.danger : Theme.text
                            wrapMode: Text.WordWrap; Layout.fillWidth: true
                        }
                        Repeater {
                            model: sheet.intake.warnings
                            delegate: Label { textFormat: Text.PlainText; required property string modelData; text: "• " + modelData; color: Theme.text }
                        }
                        Label {
                            visible: sheet.intake.warnings.length > 0
                            text: "Add them again from the project page."
                            color: Theme.secondaryText
                        }
                        Label {
                            text: "People are a next step, not a condition: you can open the empty project now and staff it whenever you are ready."
                            color: Theme.secondaryText; wrapMode: Text.WordWrap; Layout.fillWidth: true; Layout.topMargin: 6
                        }
                    }
                }
            }

            Label {
                objectName: "intakeError"
                visible: text.length > 0
                text: sheet.intake.error
                textFormat: Text.PlainText
                color: Theme.danger; wrapMode: Text.WordWrap; Layout.fillWidth: true
            }

            // The step's actions; while the service works, only Cancel.
            RowLayout {
                Layout.fillWidth: true
                spacing: 8
                PlainButton {
                    objectName: "intakeCancel"
                    text: sheet.intake.busy ? "Cancel" : sheet.step === "people" ? "Close" : "Cancel"
                    onClicked: sheet.intake.busy ? sheet.intake.cancel() : sheet.intake.close()
                }
                PlainButton {
                    objectName: "intakeBack"
                    visible: (sheet.step === "questions" || sheet.step === "review") && !sheet.intake.busy
                    text: "Back"
                    onClicked: sheet.intake.back()
                }
                Item { Layout.fillWidth: true }
                RowLayout {
                    visible: sheet.intake.busy && !sheet.intake.working
                    spacing: 6
                    Spinner { running: parent.visible; size: 16 }
                    Label { text: "Creating the project…"; color: Theme.secondaryText }
                }
                PlainButton {
                    objectName: "intakeFillManually"
                    visible: sheet.step === "about" && !sheet.intake.busy
                    text: "Fill manually"
                    onClicked: sheet.intake.fillManually()
                }
                AccentButton {
                    objectName: "intakeAnalyse"
                    visible: sheet.step === "about" && !sheet.intake.busy
                    text: "Analyse"
                    onClicked: sheet.intake.analyse()
                }
                AccentButton {
                    objectName: "intakeContinue"
                    visible: sheet.step === "questions" && !sheet.intake.busy
                    text: sheet.intake.lastPage ? "Write the profile" : "Continue"
                    onClicked: sheet.intake.advance()
                }
                PlainButton {
                    objectName: "intakeRefresh"
                    visible: sheet.step === "review" && !sheet.intake.busy
                    text: "Refresh suggestions"
                    onClicked: sheet.intake.refreshSuggestions()
                }
                AccentButton {
                    objectName: "intakeCreate"
                    visible: sheet.step === "review" && !sheet.intake.busy
                    text: "Create project"
                    onClicked: sheet.intake.create()
                }
                PlainButton {
                    objectName: "intakeCreateEmployee"
                    visible: sheet.step === "people"
                    text: "Create an employee"
                    onClicked: sheet.intake.createEmployee()
                }
                AccentButton {
                    objectName: "intakeOpenProject"
                    visible: sheet.step === "people"
                    text: "Open the project"
                    onClicked: sheet.intake.openProject()
                }
            }
        }
    }
}
