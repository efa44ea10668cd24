import QtQuick
import QtQuick.Controls
import Halvex.Controls

// A secondary action.
Button {
    id: control
    Accessible.name: text
    readonly property bool drawsFocusRing: true
    contentItem: Text {
        textFormat: Text.PlainText
        text: control.text; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter
        color: Theme.text; opacity: control.enabled ? 1 : 0.5
    }
    background: Rectangle {
        implicitHeight: 34; implicitWidth: 96; radius: 8
        color: control.down ? Theme.hover : Theme.surface
        border.color: control.visualFocus ? Theme.focusRing : Theme.border
        border.width: control.visualFocus ? 2 : 1
    }
}
