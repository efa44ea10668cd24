import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Projects
import Halvex.Memory

// A project's screen: its overview, members, files and links, tasks, activity, notes, usage
// and settings, one tab each.
Rectangle {
    id: view
    objectName: "projectView"
    required property ProjectScreen project
    color: Theme.window

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 24
        spacing: 12
        RowLayout {
            Layout.fillWidth: true
            ColumnLayout {
                spacing: 0
                Layout.fillWidth: true
                Label { objectName: "projectTitle"; text: view.project.label; textFormat: Text.PlainText; color: Theme.text; font.pixelSize: 20; font.weight: Font.DemiBold; elide: Text.ElideRight; Layout.fillWidth: true }
                Label { text: view.project.status + (view.project.members.length > 0 ? " · " + view.project.members.length + " members" : ""); textFormat: Text.PlainText; color: Theme.secondaryText; font.pixelSize: 12 }
            }
            BusyIndicator { visible: view.project.loading || view.project.busy; running: visible; implicitWidth: 22; implicitHeight: 22 }
            PlainButton { text: "Hire into project"; onClicked: view.project.hireIntoProject() }
        }
        TabBar {
            id: tabs
            objectName: "projectTabs"
            Layout.fillWidth: true
            background: Rectangle { color: "transparent"; Rectangle { anchors.bottom: parent.bottom; width: parent.width; height: 1; color: Theme.border } }
            Repeater {
                model: ["Overview", "Members", "Files", "Tasks", "Activity", "Memory", "Usage", "Settings"]
                delegate: TabButton {
                    id: tab
                    required property string modelData
                    text: modelData
                    width: implicitWidth
                    contentItem: Label { textFormat: Text.PlainText; text: tab.text; color: tab.checked ? Theme.text : Theme.secondaryText; font.weight: tab.checked ? Font.DemiBold : Font.Normal; horizontalAlignment: Text.AlignHCenter }
                    background: Rectangle {
                        color: "transparent"
                        Rectangle { anchors.bottom: parent.bottom; width: parent.width; height: 2; color: tab.checked ? Theme.accent : "transparent" }
                        border.width: tab.visualFocus ? 2 : 0
                        border.color: Theme.focusRing
                    }
                }
            }
        }
        RowLayout {
            Layout.fillWidth: true
            visible: noticeLabel.text.length > 0 || errorLabel.text.length > 0
            Label { id: noticeLabel; objectName: "projectNotice"; visible: text.length > 0; text: view.project.notice; textFormat: Text.PlainText; color: Theme.success }
            Label { id: errorLabel; objectName: "projectError"; visible: text.length > 0; text: view.project.error; textFormat: Text.PlainText; color: Theme.danger; wrapMode: Text.WordWrap; Layout.fillWidth: true }
        }
        StackLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            currentIndex: tabs.currentIndex

            // Overview: the profile's five fields, read out of the brief and saved back into it.
            ColumnLayout {
                id: overview
                // Field key → edited text; what is not here shows as stored.
                property var edits: ({})
                property string refusal: ""
                readonly property bool edited: Object.keys(edits).length > 0
                spacing: 8
                // A saved or reloaded brief replaces what was typed over it.
                readonly property string stored: view.project.brief
                onStoredChanged: edits = ({})
                ScrollView {
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    contentWidth: availableWidth
                    ColumnLayout {
                        objectName: "projectBrief"
                        width: parent.width
                        spacing: 14
                        Repeater {
                            model: view.project.overviewFields
                            delegate: ProjectIntakeTextArea {
                                required property var modelData
                                Layout.fillWidth: true
                                title: modelData.title
                                hint: modelData.hint
                                text: overview.edits[modelData.key] !== undefined ? overview.edits[modelData.key] : modelData.value
                                areaHeight: 64
                                onEdited: (text) => {
                                    const next = Object.assign({}, overview.edits)
                                    next[modelData.key] = text
                                    overview.edits = next
                                    overview.refusal = ""
                                }
                            }
                        }
                    }
                }
                Label {
                    objectName: "overviewRefusal"
                    textFormat: Text.PlainText
                    visible: text.length > 0
                    text: overview.refusal
                    color: Theme.danger; wrapMode: Text.WordWrap; Layout.fillWidth: true
                }
                AccentButton {
                    objectName: "saveBrief"
                    text: "Save overview"
                    enabled: !view.project.busy && overview.edited
                    onClicked: {
                        const values = {}
                        for (const field of view.project.overviewFields)
                            values[field.key] = overview.edits[field.key] !== undefined ? overview.edits[field.key] : field.value
                        overview.refusal = view.project.saveOverview(values)
                    }
                }
            }

            // Members
            ListView {
                objectName: "projectMembers"
                clip: true
                spacing: 4
                model: view.project.members
                delegate: RowLayout {
                    required property var modelData
                    width: ListView.view.width
                    Icon { symbol: modelData.kind === "team" ? "person.3" : "person"; size: 18 }
                    ColumnLayout {
                        spacing: 0
                        Layout.fillWidth: true
                        Label { text: modelData.name; textFormat: Text.PlainText; color: modelData.stale ? Theme.secondaryText : Theme.text }
                        Label { text: modelData.detail; textFormat: Text.PlainText; color: Theme.secondaryText; font.pixelSize: 12; elide: Text.ElideRight; Layout.fillWidth: true }
                    }
                    PlainButton { text: "Remove"; enabled: !view.project.busy; onClicked: view.project.removeMember(modelData.id) }
                }
                Label { anchors.centerIn: parent; visible: parent.count === 0; text: "No members yet — hire an employee into the project."; color: Theme.secondaryText }
            }

            // Files and links
            ColumnLayout {
                spacing: 8
                RowLayout {
                    Layout.fillWidth: true
                    PlainField { id: link; objectName: "projectLink"; placeholderText: "https://…"; Layout.fillWidth: true; onAccepted: { view.project.addLink(text); text = "" } Accessible.name: "Link to add" }
                    PlainButton { text: "Add link"; enabled: link.text.trim().length > 0 && !view.project.busy; onClicked: { view.project.addLink(link.text); link.text = "" } }
                    AccentButton { text: "Upload files…"; enabled: !view.project.busy; onClicked: picker.open() }
                }
                Label { text: "Drop files here · up to 20 at a time, 10 MB each"; color: Theme.secondaryText; font.pixelSize: 12 }
                Repeater {
                    model: view.project.uploadFailures
                    delegate: Label { required property string modelData; text: modelData; textFormat: Text.PlainText; color: Theme.danger; font.pixelSize: 12 }
                }
                ListView {
                    objectName: "projectFiles"
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    clip: true
                    spacing: 4
                    model: view.project.files
                    delegate: RowLayout {
                        required property var modelData
                        width: ListView.view.width
                        Icon { symbol: modelData.isLink ? "link" : "doc"; size: 16 }
                        ColumnLayout {
                            spacing: 0
                            Layout.fillWidth: true
                            Label { text: modelData.name; textFormat: Text.PlainText; color: Theme.text; elide: Text.ElideMiddle; Layout.fillWidth: true }
                            Label { text: modelData.detail; textFormat: Text.PlainText; color: Theme.secondaryText; font.pixelSize: 12; elide: Text.ElideRight; Layout.fillWidth: true }
                        }
                        PlainButton { visible: modelData.isLink; text: "Open"; onClicked: Links.open(modelData.url) }
                        PlainButton { text: "Remove"; enabled: !view.project.busy; onClicked: view.project.deleteFile(modelData.id) }
                    }
                }
                FileDialog { id: picker; fileMode: FileDialog.OpenFiles; onAccepted: view.project.upload(selectedFiles) }
                DropArea {
                    Layout.fillWidth: true
                    implicitHeight: 1
                    onDropped: (drop) => { if (drop.hasUrls) view.project.upload(drop.urls) }
                }
            }

            // Tasks: a board of three columns.
            ColumnLayout {
                spacing: 8
                RowLayout {
                    Layout.fillWidth: true
                    PlainField { id: taskText; objectName: "newTask"; placeholderText: "A new task"; Layout.fillWidth: true; onAccepted: { view.project.addTask(text); text = "" } Accessible.name: "New task" }
                    AccentButton { text: "Add task"; enabled: taskText.text.trim().length > 0 && !view.project.busy; onClicked: { view.project.addTask(taskText.text); taskText.text = "" } }
                }
                RowLayout {
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    spacing: 10
                    Repeater {
                        model: [{ key: "todo", title: "To do" }, { key: "in_progress", title: "In progress" }, { key: "done", title: "Done" }]
                        delegate: Rectangle {
                            id: column
                            required property var modelData
                            Layout.fillWidth: true
                            Layout.fillHeight: true
                            radius: 10; color: Theme.surface; border.color: Theme.border
                            ColumnLayout {
                                anchors { fill: parent; margins: 8 }
                                spacing: 6
                                Label { textFormat: Text.PlainText; text: column.modelData.title; color: Theme.secondaryText; font.weight: Font.DemiBold }
                                Repeater {
                                    model: view.project.tasks.filter(t => (t.status === column.modelData.key) || (column.modelData.key === "todo" && ["todo", "in_progress", "done"].indexOf(t.status) < 0))
                                    delegate: Rectangle {
                                        required property var modelData
                                        Layout.fillWidth: true
                                        implicitHeight: card.implicitHeight + 12
                                        radius: 8; color: Theme.raised; border.color: Theme.border
                                        ColumnLayout {
                                            id: card
                                            anchors { left: parent.left; right: parent.right; top: parent.top; margins: 6 }
                                            spacing: 2
                                            Label { text: modelData.text; textFormat: Text.PlainText; color: Theme.text; wrapMode: Text.WordWrap; Layout.fillWidth: true }
                                            Label { visible: modelData.assignee.length > 0; text: modelData.assignee; textFormat: Text.PlainText; color: Theme.secondaryText; font.pixelSize: 11 }
                                            ComboBox {
                                                Layout.fillWidth: true
                                                model: [{ key: "todo", label: "To do" }, { key: "in_progress", label: "In progress" }, { key: "done", label: "Done" }]
                                                textRole: "label"
                                                valueRole: "key"
                                                currentIndex: Math.max(0, ["todo", "in_progress", "done"].indexOf(modelData.status))
                                                onActivated: view.project.setTaskStatus(modelData.id, currentValue)
                                                Accessible.name: "Status of " + modelData.text
                                            }
                                        }
                                    }
                                }
                                Item { Layout.fillHeight: true }
                            }
                        }
                    }
                }
            }

            // Activity, paged back
            ListView {
                objectName: "projectEvents"
                clip: true
                spacing: 6
                model: view.project.events
                delegate: ColumnLayout {
                    required property var modelData
                    width: ListView.view.width
                    spacing: 0
                    Label { text: modelData.title; textFormat: Text.PlainText; color: Theme.text; elide: Text.ElideRight; Layout.fillWidth: true }
                    Label { text: [modelData.actor, modelData.when].filter(s => s.length > 0).join(" · "); textFormat: Text.PlainText; color: Theme.secondaryText; font.pixelSize: 12 }
                    Label { visible: text.length > 0; text: modelData.detail; textFormat: Text.PlainText; color: Theme.secondaryText; wrapMode: Text.WordWrap; maximumLineCount: 3; elide: Text.ElideRight; Layout.fillWidth: true }
                }
                footer: PlainButton { visible: view.project.hasOlderEvents; text: "Older"; onClicked: view.project.loadOlderEvents() }
            }

            // Memory: notes the project keeps.
            ColumnLayout {
                spacing: 8
                RowLayout {
                    Layout.fillWidth: true
                    PlainField { id: note; objectName: "projectNote"; placeholderText: "Something every member should know"; Layout.fillWidth: true; onAccepted: { view.project.addNote(text); text = "" } Accessible.name: "New note" }
                    AccentButton { text: "Remember"; enabled: note.text.trim().length > 0 && !view.project.busy; onClicked: { view.project.addNote(note.text); note.text = "" } }
                }
                ListView {
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    clip: true
                    spacing: 4
                    model: view.project.notes
                    // Read like an employee's memory: an icon, the category and the body.
                    delegate: RowLayout {
                        required property var modelData
                        width: ListView.view.width
                        spacing: 8
                        Label { text: MemoryText.iconFor(modelData.content); font.pixelSize: 18; textFormat: Text.PlainText; Layout.alignment: Qt.AlignTop }
                        ColumnLayout {
                            spacing: 0
                            Layout.fillWidth: true
                            Label { text: MemoryText.categoryOf(modelData.content); textFormat: Text.PlainText; color: Theme.secondaryText; font.pixelSize: 11; font.weight: Font.DemiBold }
                            Label { text: MemoryText.bodyOf(modelData.content); textFormat: Text.PlainText; color: Theme.text; wrapMode: Text.WordWrap; Layout.fillWidth: true }
                            Label { text: [modelData.author, modelData.when].filter(s => s.length > 0).join(" · "); textFormat: Text.PlainText; color: Theme.secondaryText; font.pixelSize: 11 }
                        }
                        PlainButton { text: "Forget"; enabled: !view.project.busy; onClicked: view.project.deleteNote(modelData.id) }
                    }
                }
            }

            // Usage
            ColumnLayout {
                spacing: 8
                Label { textFormat: Text.PlainText; text: "Spent this month: " + (view.project.usage.spent || "—"); color: Theme.text }
                Label { textFormat: Text.PlainText; text: view.project.usage.budget ? "Budget: " + view.project.usage.budget : "No monthly budget"; color: Theme.secondaryText }
                Rectangle {
                    visible: !!view.project.usage.budget
                    implicitWidth: 360; implicitHeight: 8; radius: 4; color: Theme.hover
                    Rectangle { width: parent.width * (view.project.usage.ratio || 0); height: parent.height; radius: 4; color: view.project.usage.exceeded ? Theme.danger : view.project.usage.warn ? "#d08a00" : Theme.accent }
                }
                Label { visible: !!view.project.usage.exceeded; text: "Over budget: new work in this project waits until next month or a higher budget."; color: Theme.danger; wrapMode: Text.WordWrap; Layout.fillWidth: true }
                Item { Layout.fillHeight: true }
            }

            // Settings
            ColumnLayout {
                spacing: 10
                FormField { id: labelField; objectName: "projectLabel"; label: "Name"; text: view.project.label; Layout.preferredWidth: 360 }
                FormField { id: budgetField; label: "Monthly budget (USD, empty for none)"; text: view.project.budgetText; Layout.preferredWidth: 360 }
                RowLayout {
                    AccentButton { objectName: "saveProjectSettings"; text: "Save"; enabled: !view.project.busy; onClicked: if (!view.project.saveSettings(labelField.text, budgetField.text)) badBudget.visible = true }
                    Label { id: badBudget; visible: false; text: "Give a name, and a budget as a number of dollars."; color: Theme.danger }
                }
                RowLayout {
                    Label { text: "Status"; color: Theme.secondaryText }
                    ComboBox {
                        model: ["active", "paused", "archived"]
                        currentIndex: Math.max(0, model.indexOf(view.project.status))
                        onActivated: view.project.setStatus(currentValue)
                        Accessible.name: "Project status"
                    }
                }
                PlainButton { objectName: "deleteProject"; text: "Delete project…"; onClicked: confirmDelete.open() }
                Item { Layout.fillHeight: true }
                QuestionDialog {
                    id: confirmDelete
                    title: "Delete " + view.project.label + "?"
                    Label { text: "Its files, tasks, notes and activity go with it. Members stay in your workspace."; color: Theme.text; wrapMode: Text.WordWrap; width: 340 }
                    onAccepted: view.project.remove()
                }
            }
        }
    }
}
