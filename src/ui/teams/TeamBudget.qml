import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Teams

// The team's monthly budget in tokens, beside what it spent this month.
TeamMenuSection {
    id: section
    required property TeamMenu menu
    title: "Budget"
    function reset() { draft.text = menu.budgetTokens > 0 ? String(menu.budgetTokens) : "" }

    RowLayout {
        spacing: 8
        Layout.fillWidth: true
        Label { text: "Monthly budget"; color: Theme.text }
        PlainField {
            id: draft
            objectName: "teamBudget"
            placeholderText: "No limit"
            inputMethodHints: Qt.ImhDigitsOnly
            Accessible.name: "Monthly budget in tokens"
            Layout.fillWidth: true
            onAccepted: save.clicked()
        }
        PlainButton {
            id: save
            objectName: "teamBudgetSave"
            text: "Save"
            Accessible.name: "Save budget"
            enabled: section.menu.loaded && !section.menu.busy
            onClicked: section.menu.saveBudget(draft.text)
        }
    }
    Label {
        objectName: "teamMonthSpend"
        textFormat: Text.PlainText
        text: "Spent this month: " + section.menu.monthSpendText
              + (section.menu.budgetTokens > 0 ? " of " + section.menu.budgetText : "")
        color: Theme.secondaryText; font.pixelSize: 12
        wrapMode: Text.Wrap; Layout.fillWidth: true
    }
}
