import QtQuick
import QtQuick.Controls
import Halvex.Controls
import Halvex.Session

Rectangle {
    color: Theme.window
    Column {
        anchors.centerIn: parent
        spacing: 14
        Label { text: "Halvex"; font.pixelSize: 22; font.weight: Font.DemiBold; color: Theme.text; anchors.horizontalCenter: parent.horizontalCenter }
        BusyIndicator { running: true; anchors.horizontalCenter: parent.horizontalCenter; Accessible.name: "Loading" }
    }
}
