import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex

ColumnLayout {
    spacing: 10
    Label {
        visible: AppShell.updateBadge.hasUpdate
        text: "Version " + AppShell.updateBadge.availableVersion + " is available."
        color: Theme.text
    }
    RowLayout {
        spacing: 8
        AccentButton {
            text: "Check for Updates…"
            enabled: !AppShell.updater.checking
            onClicked: AppShell.updater.checkForUpdates()
        }
        BusyIndicator { running: AppShell.updater.checking; visible: running; implicitWidth: 22; implicitHeight: 22 }
    }
    Label { text: AppShell.updater.statusText; color: Theme.secondaryText; wrapMode: Text.WordWrap; Layout.fillWidth: true }
    PlainButton { visible: AppShell.updater.updateAvailable; text: "Download"; onClicked: AppShell.updater.openDownload() }
}
