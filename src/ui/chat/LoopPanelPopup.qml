import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Teams
import Halvex.Chat

// The loop limits of a single employee: edited here, saved as a whole by the panel model.
Popup {
    id: popup
    objectName: "loopPanel"
    required property LoopPanel panel
    width: 320
    padding: 14
    modal: false
    focus: true
    onOpened: {
        panel.open()
        reset()
    }
    function reset() {
        loopMode.checked = panel.enabled
        iterations.value = panel.iterations
        tokens.value = panel.maxTokens
        spend.text = panel.maxCostUsd > 0 ? String(panel.maxCostUsd) : ""
        quality.value = panel.quality
        stopOnNoImprove.checked = panel.stopOnNoImprove
    }
    Connections { target: popup.panel; function onChanged() { if (!popup.panel.busy && !popup.edited) popup.reset() } }
    property bool edited: false

    background: Rectangle { radius: 10; color: Theme.raised; border.color: Theme.border }

    contentItem: ColumnLayout {
        spacing: 8
        ToggleSwitch { id: loopMode; text: "Loop mode"; onToggled: popup.edited = true }
        GridLayout {
            columns: 2
            columnSpacing: 10
            rowSpacing: 6
            enabled: loopMode.checked
            Label { text: "Max iterations"; color: Theme.text }
            SpinBox { id: iterations; from: 1; to: 50; editable: true; onValueModified: popup.edited = true; Accessible.name: "Max iterations" }
            Label { text: "LLM token cap"; color: Theme.text }
            SpinBox { id: tokens; from: 0; to: 10000000; stepSize: 1000; editable: true; onValueModified: popup.edited = true; Accessible.name: "LLM token cap" }
            Label { text: "Spend cap"; color: Theme.text }
            TextField {
                id: spend; placeholderText: "$0"; inputMethodHints: Qt.ImhFormattedNumbersOnly
                validator: DoubleValidator { bottom: 0; decimals: 2 }
                onTextEdited: popup.edited = true; Accessible.name: "Spend cap"; Layout.fillWidth: true
            }
            Label { text: "Quality bar"; color: Theme.text }
            SpinBox { id: quality; from: 0; to: 100; editable: true; onValueModified: popup.edited = true; Accessible.name: "Quality bar" }
        }
        CheckBox {
            id: stopOnNoImprove
            enabled: loopMode.checked
            text: "Stop when an iteration brings no improvement"
            onToggled: popup.edited = true
        }
        Label { textFormat: Text.PlainText; visible: text.length > 0; text: popup.panel.notice; color: Theme.success; wrapMode: Text.Wrap; Layout.fillWidth: true }
        Label { textFormat: Text.PlainText; visible: text.length > 0; text: popup.panel.error; color: Theme.danger; wrapMode: Text.Wrap; Layout.fillWidth: true }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            Spinner { visible: popup.panel.busy; size: 16 }
            PlainButton { text: "Close"; onClicked: popup.close() }
            AccentButton {
                objectName: "loopSave"
                text: "Save"
                enabled: popup.panel.loaded && !popup.panel.busy
                onClicked: {
                    popup.edited = false
                    popup.panel.save(loopMode.checked, iterations.value, tokens.value, Number(spend.text || "0"), quality.value, stopOnNoImprove.checked)
                }
            }
        }
    }
}
