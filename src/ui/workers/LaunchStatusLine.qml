import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Workers

// The last launch from the launcher, shown over the composer until it is dismissed.
RowLayout {
    id: line
    objectName: "launchStatus"
    required property WorkerLauncher launcher
    visible: launcher !== null && launcher.launchTitle.length > 0
    spacing: 6
    Spinner { visible: line.launcher && line.launcher.launchPhase === "starting"; running: visible; size: 14 }
    Icon {
        visible: line.launcher && line.launcher.launchPhase !== "starting"
        symbol: line.launcher && line.launcher.launchPhase === "failed" ? "exclamationmark.triangle" : "checkmark.circle"
        color: line.launcher && line.launcher.launchPhase === "failed" ? Theme.danger : Theme.success
        size: 14
    }
    Label {
        text: line.launcher ? line.launcher.launchTitle : ""
        textFormat: Text.PlainText
        color: Theme.text; font.pixelSize: 12
    }
    Label {
        visible: text.length > 0
        text: line.launcher ? line.launcher.launchMessage : ""
        textFormat: Text.PlainText
        color: Theme.secondaryText; font.pixelSize: 12; elide: Text.ElideRight
        Layout.fillWidth: true
    }
}
