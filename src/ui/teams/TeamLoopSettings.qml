import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Teams

// The team's loop limits, edited as a draft and saved as a whole.
TeamMenuSection {
    id: section
    required property TeamMenu menu
    title: "Loop"
    function reset() {
        loopMode.checked = menu.loopEnabled
        iterations.value = menu.loopIterations
        tokens.value = menu.loopMaxTokens
        spend.text = menu.loopMaxCostUsd > 0 ? String(menu.loopMaxCostUsd) : ""
        quality.value = menu.loopQuality
        stopOnNoImprove.checked = menu.loopStopNoImprove
    }

    ToggleSwitch { id: loopMode; objectName: "teamLoopMode"; text: "Loop mode" }
    GridLayout {
        columns: 2
        columnSpacing: 10
        rowSpacing: 6
        enabled: loopMode.checked
        Layout.fillWidth: true
        Label { text: "Max iterations"; color: Theme.text }
        SpinBox { id: iterations; from: 1; to: 50; editable: true; Accessible.name: "Max iterations" }
        Label { text: "LLM token cap"; color: Theme.text }
        SpinBox { id: tokens; from: 0; to: 10000000; stepSize: 1000; editable: true; Accessible.name: "LLM token cap" }
        Label { text: "Spend cap"; color: Theme.text }
        RowLayout {
            spacing: 6
            PlainField {
                id: spend
                placeholderText: "$0"
                inputMethodHints: Qt.ImhFormattedNumbersOnly
                validator: DoubleValidator { bottom: 0; decimals: 2 }
                Accessible.name: "Spend cap in US dollars"
                Layout.preferredWidth: 90
            }
            Label { textFormat: Text.PlainText; text: section.menu.diamonds(Number(spend.text || "0")); color: Theme.secondaryText; font.pixelSize: 12 }
        }
        Label { text: "Quality bar"; color: Theme.text }
        SpinBox { id: quality; from: 0; to: 100; editable: true; Accessible.name: "Quality bar" }
    }
    CheckBox {
        id: stopOnNoImprove
        enabled: loopMode.checked
        text: "Stop when an iteration brings no improvement"
        Accessible.name: text
        Layout.fillWidth: true
        contentItem: Label {
            textFormat: Text.PlainText
            text: stopOnNoImprove.text
            color: Theme.text
            wrapMode: Text.Wrap
            verticalAlignment: Text.AlignVCenter
            leftPadding: stopOnNoImprove.indicator.width + stopOnNoImprove.spacing
        }
    }
    PlainButton {
        objectName: "teamLoopSave"
        text: "Save loop settings"
        enabled: section.menu.loaded && !section.menu.busy
        onClicked: section.menu.saveLoop(loopMode.checked, iterations.value, tokens.value,
                                         Number(spend.text || "0"), quality.value, stopOnNoImprove.checked)
    }
}
