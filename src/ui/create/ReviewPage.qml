import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Create

// The draft before hiring: its name (editable), what it does, and how it runs.
ColumnLayout {
    id: review
    required property CreateFlow flow
    readonly property bool team: flow.kind === "team"
    readonly property var draft: flow.draft
    spacing: 12

    FormField {
        objectName: "reviewName"
        Layout.fillWidth: true
        label: review.team ? "Team name" : "Name"
        text: review.flow.name
        onEdited: (t) => review.flow.name = t
    }
    Label {
        textFormat: Text.PlainText
        visible: text.length > 0
        text: review.team ? (review.draft.tagline || "") : (review.draft.role || "")
        color: Theme.text; font.weight: Font.DemiBold; wrapMode: Text.WordWrap; Layout.fillWidth: true
    }
    Label {
        visible: text.length > 0
        text: review.draft.description || ""
        textFormat: Text.PlainText
        color: Theme.secondaryText; wrapMode: Text.WordWrap; Layout.fillWidth: true
    }

    TitledList { title: "Members"; visible: review.team; items: (review.draft.members || []).map(m => m.handle + " — " + m.role + (m.out ? " → " + m.out : "")) }
    TitledList { title: "Skills"; items: (review.draft.skills || []).map(s => s.name + (s.description ? " — " + s.description : "")) }
    TitledList { title: "Steps"; items: (review.draft.steps || []).map(s => s.type + ": " + (s.name || s.detail)) }
    TitledList { title: "Tools"; items: review.draft.tools || [] }
    TitledList { title: "Rules"; items: review.draft.constraints || [] }

    GridLayout {
        visible: !review.team
        columns: 2
        columnSpacing: 12; rowSpacing: 8
        Label { text: "Starts"; color: Theme.secondaryText }
        RowLayout {
            ComboBox {
                id: trigger
                objectName: "triggerType"
                model: ["Manually", "On a schedule"]
                currentIndex: review.flow.triggerType === "schedule" ? 1 : 0
                onActivated: (i) => review.flow.triggerType = i === 1 ? "schedule" : "manual"
                Accessible.name: "When the employee starts"
            }
            SpinBox {
                visible: trigger.currentIndex === 1
                from: 5; to: 10080; stepSize: 5
                value: review.flow.intervalMinutes
                onValueModified: review.flow.intervalMinutes = value
                Accessible.name: "Minutes between runs"
            }
            Label { visible: trigger.currentIndex === 1; text: "minutes"; color: Theme.secondaryText }
        }
        Label { text: "Runs on"; color: Theme.secondaryText }
        ModelMenu {
            objectName: "brainModel"
            selected: review.flow.brainModelId
            onPicked: (id) => review.flow.brainModelId = id
            Accessible.name: "Model the employee runs on"
        }
    }
}
