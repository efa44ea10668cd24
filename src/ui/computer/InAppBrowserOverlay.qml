import QtQuick
import Halvex.Computer

// The in-app browser over the whole window; a click beside the sheet closes it.
Rectangle {
    id: overlay
    required property ComputerPanel panel
    color: Qt.rgba(0, 0, 0, 0.35)
    MouseArea { anchors.fill: parent; onClicked: overlay.panel.closeBrowser() }
    InAppBrowserSheet {
        panel: overlay.panel
        anchors.centerIn: parent
        width: Math.min(parent.width - 48, 820)
        height: Math.min(parent.height - 48, 640)
        Component.onCompleted: forceActiveFocus()
        MouseArea { anchors.fill: parent; z: -1 }
    }
}
