import QtQuick
import QtQuick.Controls
import Halvex.Controls

// A small button showing one symbol. Its name is what a screen reader says and the tooltip
// shows; keyboard focus draws the ring.
ToolButton {
    id: control
    required property string name
    property string symbol: ""
    property string tip: name
    readonly property bool drawsFocusRing: true
    focusPolicy: Qt.StrongFocus
    implicitWidth: 30; implicitHeight: 30
    Accessible.role: Accessible.Button
    Accessible.name: name
    ToolTip.visible: hovered && tip.length > 0
    ToolTip.text: tip
    contentItem: Icon {
        symbol: control.symbol; size: 16
        horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter
        opacity: control.enabled ? 1 : 0.4
    }
    background: Rectangle {
        radius: 6
        color: control.down ? Theme.selection : control.hovered ? Theme.hover : "transparent"
        border.width: control.visualFocus ? 2 : 0
        border.color: Theme.focusRing
    }
}
