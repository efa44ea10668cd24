import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Marketplace

// Hiring one marketplace employee: who it is, then an optional first goal.
Popup {
    id: sheet
    objectName: "hireSheet"
    required property MarketplaceScreen market
    readonly property var worker: market.hireWorker
    modal: true
    focus: true
    visible: market.hireOpen
    width: Math.min(parent ? parent.width - 80 : 560, 560)
    x: parent ? (parent.width - width) / 2 : 0
    y: parent ? (parent.height - height) / 3 : 0
    padding: 20
    onClosed: if (market.hireOpen) market.closeHire()
    background: Rectangle { radius: 12; color: Theme.raised; border.color: Theme.border }

    ColumnLayout {
        width: parent.width
        spacing: 12
        Label { text: sheet.worker.name || ""; textFormat: Text.PlainText; color: Theme.text; font.pixelSize: 18; font.weight: Font.DemiBold }
        Label { text: sheet.worker.specialty || ""; textFormat: Text.PlainText; color: Theme.accent }

        ColumnLayout {
            visible: sheet.market.hireStep === 0
            spacing: 8
            Layout.fillWidth: true
            Label { text: sheet.worker.description || ""; textFormat: Text.PlainText; color: Theme.text; wrapMode: Text.WordWrap; Layout.fillWidth: true }
            TitledList { title: "Example tasks"; items: sheet.worker.tasks || [] }
            TitledList { title: "Tools"; items: sheet.worker.tools || [] }
        }
        ColumnLayout {
            visible: sheet.market.hireStep === 1
            spacing: 8
            Layout.fillWidth: true
            Label { text: "First goal"; color: Theme.text; font.weight: Font.DemiBold }
            Label { text: "Optional — pick a starting outcome, write your own, or hire without one."; color: Theme.secondaryText; wrapMode: Text.WordWrap; Layout.fillWidth: true }
            Flow {
                Layout.fillWidth: true
                spacing: 6
                Repeater {
                    model: sheet.worker.tasks || []
                    delegate: Chip {
                        required property string modelData
                        text: modelData
                        onClicked: { sheet.market.goalText = modelData; goalInput.text = modelData }
                    }
                }
            }
            PlainField {
                id: goalInput
                objectName: "hireGoal"
                Layout.fillWidth: true
                placeholderText: "Describe the first outcome"
                onTextEdited: sheet.market.goalText = text
                Accessible.name: "First goal"
            }
        }
        Label {
            textFormat: Text.PlainText
            visible: text.length > 0
            text: sheet.market.hireError
            color: Theme.danger; wrapMode: Text.WordWrap; Layout.fillWidth: true
        }
        RowLayout {
            Layout.fillWidth: true
            PlainButton { text: "Cancel"; onClicked: sheet.market.closeHire() }
            Item { Layout.fillWidth: true }
            Spinner { visible: sheet.market.hiring; running: visible; size: 18 }
            PlainButton {
                objectName: "hireWithoutGoal"
                text: sheet.market.hireStep === 0 ? "Hire now, set a goal later" : "Hire without a goal"
                enabled: !sheet.market.hiring
                onClicked: { sheet.market.goalText = ""; sheet.market.hire() }
            }
            AccentButton {
                objectName: "hireNext"
                text: sheet.market.hireStep === 0 ? "Next" : "Hire"
                enabled: !sheet.market.hiring
                onClicked: sheet.market.hireStep === 0 ? sheet.market.hireStep = 1 : sheet.market.hire()
            }
        }
    }
}
