import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Settings

// What the picked employee may do on its own: tool families, the kill switch and its mandate.
ColumnLayout {
    id: page
    required property GuardrailsSettings guardrails
    spacing: 12
    Component.onCompleted: guardrails.open()
    Component.onDestruction: guardrails.close()

    EmployeePicker {}
    BusyIndicator { visible: page.guardrails.loading; running: visible; implicitWidth: 22; implicitHeight: 22 }

    Label { text: "Permissions"; color: Theme.text; font.weight: Font.DemiBold; Layout.topMargin: 6 }
    Repeater {
        model: page.guardrails.groups
        delegate: RowLayout {
            required property var modelData
            Layout.fillWidth: true
            spacing: 10
            Icon { symbol: modelData.symbol; size: 18 }
            ColumnLayout {
                spacing: 0
                Layout.preferredWidth: 340
                Label { textFormat: Text.PlainText; text: modelData.label; color: Theme.text }
                Label { textFormat: Text.PlainText; text: modelData.detail; color: Theme.secondaryText; font.pixelSize: 12 }
            }
            BusyIndicator { visible: modelData.busy; running: visible; implicitWidth: 18; implicitHeight: 18 }
            ToggleSwitch {
                objectName: "permission_" + modelData.id
                text: ""
                Accessible.name: modelData.label
                checked: modelData.on
                enabled: !modelData.busy && !page.guardrails.loading
                onToggled: page.guardrails.toggleGroup(modelData.id)
            }
        }
    }

    Rectangle { Layout.fillWidth: true; height: 1; color: Theme.border; Layout.topMargin: 4 }
    RowLayout {
        Layout.fillWidth: true
        spacing: 10
        ColumnLayout {
            spacing: 0
            Layout.fillWidth: true
            Label { text: "Kill switch"; color: Theme.text; font.weight: Font.DemiBold }
            Label {
                textFormat: Text.PlainText
                text: page.guardrails.paused ? "Frozen: it starts no new work until you resume it."
                                             : "Running: freeze it to stop all new work at once."
                color: page.guardrails.paused ? Theme.danger : Theme.secondaryText; font.pixelSize: 12
            }
        }
        AccentButton {
            objectName: "killSwitch"
            text: page.guardrails.paused ? "Resume" : "Freeze"
            enabled: !page.guardrails.busyKill && !page.guardrails.loading
            onClicked: page.guardrails.toggleKillSwitch()
        }
    }

    Rectangle { Layout.fillWidth: true; height: 1; color: Theme.border; Layout.topMargin: 4 }
    Label { text: "Mandate"; color: Theme.text; font.weight: Font.DemiBold }
    Label {
        textFormat: Text.PlainText
        text: page.guardrails.hasMandate ? "Saved limits are enforced on every turn." : "No mandate saved yet: these are suggested limits."
        color: Theme.secondaryText; font.pixelSize: 12
    }
    Label { text: "Autonomy level"; color: Theme.secondaryText; font.pixelSize: 12 }
    RowLayout {
        spacing: 6
        Repeater {
            model: page.guardrails.levels
            delegate: Chip {
                required property var modelData
                objectName: "afLevel_" + modelData.n
                text: modelData.n + " · " + modelData.hint
                symbol: page.guardrails.afLevel === modelData.n ? "checkmark" : ""
                Accessible.checked: page.guardrails.afLevel === modelData.n
                onClicked: page.guardrails.afLevel = modelData.n
            }
        }
    }
    RowLayout {
        spacing: 16
        FormField {
            objectName: "quoteLimit"
            label: "Largest quote without approval (USD)"
            text: page.guardrails.quoteText
            placeholder: "No limit"
            onEdited: (t) => page.guardrails.quoteText = t
            Layout.preferredWidth: 260
        }
        FormField {
            label: "Largest discount (%)"
            text: page.guardrails.discountText
            placeholder: "None"
            onEdited: (t) => page.guardrails.discountText = t
            Layout.preferredWidth: 200
        }
    }
    Label { text: "Channels it may use"; color: Theme.secondaryText; font.pixelSize: 12 }
    RowLayout {
        spacing: 16
        Repeater {
            model: page.guardrails.channels
            delegate: CheckBox {
                required property var modelData
                objectName: "channel_" + modelData.id
                text: modelData.label
                checked: modelData.on
                onToggled: page.guardrails.toggleChannel(modelData.id)
                contentItem: Label { textFormat: Text.PlainText; text: parent.text; color: Theme.text; leftPadding: parent.indicator.width + 6; verticalAlignment: Text.AlignVCenter }
            }
        }
    }
    Label { text: "Stop conditions (one a line)"; color: Theme.secondaryText; font.pixelSize: 12 }
    TextArea {
        Layout.preferredWidth: 420
        Layout.preferredHeight: 72
        text: page.guardrails.stopConditions
        onTextChanged: if (text !== page.guardrails.stopConditions) page.guardrails.stopConditions = text
        color: Theme.text
        wrapMode: TextEdit.Wrap
        Accessible.name: "Stop conditions"
        background: Rectangle { radius: 7; color: Theme.surface; border.color: parent.activeFocus ? Theme.focusRing : Theme.border; border.width: parent.activeFocus ? 2 : 1 }
    }
    RowLayout {
        spacing: 8
        AccentButton {
            objectName: "saveMandate"
            text: "Save mandate"
            enabled: !page.guardrails.savingMandate && !page.guardrails.loading
            onClicked: page.guardrails.save()
        }
        PlainButton {
            objectName: "clearMandate"
            text: "Clear"
            enabled: page.guardrails.hasMandate && !page.guardrails.savingMandate
            onClicked: page.guardrails.clear()
        }
    }
    Label {
        objectName: "guardrailsMessage"
        visible: text.length > 0
        text: page.guardrails.message
        textFormat: Text.PlainText
        color: Theme.success
    }
    Label {
        objectName: "guardrailsError"
        visible: text.length > 0
        text: page.guardrails.error
        textFormat: Text.PlainText
        color: Theme.danger; wrapMode: Text.WordWrap; Layout.fillWidth: true
    }
}
