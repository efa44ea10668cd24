import QtQuick
import QtQuick.Controls
import Halvex.Controls
import Halvex.Sidebar

// Shown while the service's feed advertises a newer build; pressing it runs the update check.
Button {
    id: badge
    objectName: "updateBadge"
    visible: Screens.updateBadge.hasUpdate
    text: "Update " + Screens.updateBadge.availableVersion
    Accessible.name: "Update available: " + Screens.updateBadge.availableVersion
    font.pixelSize: 11
    onClicked: Screens.updater.checkForUpdates()
    contentItem: Label { textFormat: Text.PlainText; text: badge.text; color: Theme.accentText; font: badge.font; horizontalAlignment: Text.AlignHCenter }
    background: Rectangle {
        implicitHeight: 20; radius: 10; color: Theme.accent
        border.width: badge.visualFocus ? 2 : 0; border.color: Theme.text
    }
    padding: 3; leftPadding: 9; rightPadding: 9
}
