import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Settings

ColumnLayout {
    spacing: 10
    Label {
        textFormat: Text.PlainText
        visible: Screens.updateBadge.hasUpdate
        text: "Version " + Screens.updateBadge.availableVersion + " is available."
        color: Theme.text
    }
    RowLayout {
        spacing: 8
        AccentButton {
            text: "Check for Updates…"
            enabled: !Screens.updater.checking
            onClicked: Screens.updater.checkForUpdates()
        }
        BusyIndicator { running: Screens.updater.checking; visible: running; implicitWidth: 22; implicitHeight: 22 }
    }
    Label { textFormat: Text.PlainText; text: Screens.updater.statusText; color: Theme.secondaryText; wrapMode: Text.WordWrap; Layout.fillWidth: true }
    PlainButton { visible: Screens.updater.updateAvailable; text: "Download"; onClicked: Screens.updater.openDownload() }
}
