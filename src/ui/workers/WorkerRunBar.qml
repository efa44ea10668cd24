import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Workers

// Run and Stop above a worker's chat, with the state of the run being followed and its error.
Rectangle {
    id: bar
    objectName: "workerRunBar"
    required property WorkerRunPanel panel
    visible: panel !== null && panel.active
    implicitHeight: visible ? row.implicitHeight + 16 : 0
    color: Theme.surface
    border.color: Theme.border

    RowLayout {
        id: row
        anchors { fill: parent; leftMargin: 14; rightMargin: 14 }
        spacing: 10
        Spinner { running: bar.panel && (bar.panel.running || bar.panel.busy); visible: running; size: 16 }
        Label {
            objectName: "workerRunStatus"
            textFormat: Text.PlainText
            text: bar.panel ? (bar.panel.status || "Runs its pipeline when you start it") : ""
            color: bar.panel && bar.panel.running ? Theme.text : Theme.secondaryText
        }
        Label {
            objectName: "workerRunError"
            visible: text.length > 0
            text: bar.panel ? bar.panel.error : ""
            textFormat: Text.PlainText
            color: Theme.danger; elide: Text.ElideRight
            Layout.fillWidth: true
        }
        Item { Layout.fillWidth: true; visible: !(bar.panel && bar.panel.error.length > 0) }
        PlainButton {
            objectName: "editPipeline"
            text: "Edit pipeline"
            enabled: bar.panel && !bar.panel.running
            onClicked: bar.panel.edit()
        }
        AccentButton {
            objectName: bar.panel && bar.panel.running ? "stopRun" : "startRun"
            text: bar.panel && bar.panel.running ? "Stop" : "Run"
            enabled: bar.panel && !bar.panel.busy
            onClicked: bar.panel.running ? bar.panel.stop() : bar.panel.run()
            ToolTip.visible: hovered; ToolTip.text: bar.panel && bar.panel.running ? "Stop this run (Ctrl+.)" : "Run now (Ctrl+R)"
        }
    }
    Shortcut { enabled: bar.visible; sequences: ShortcutCatalog.keys("runWorker"); onActivated: if (!bar.panel.running && !bar.panel.busy) bar.panel.run() }
    Shortcut { enabled: bar.visible; sequences: ShortcutCatalog.keys("stopWorker"); onActivated: if (bar.panel.running && !bar.panel.busy) bar.panel.stop() }
}
