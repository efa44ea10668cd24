import QtQuick
import QtQuick.Controls
import Halvex.Controls

// The primary action of a form.
Button {
    id: control
    Accessible.name: text
    readonly property bool drawsFocusRing: true
    contentItem: Text {
        textFormat: Text.PlainText
        text: control.text; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter
        font.weight: Font.DemiBold; color: Theme.accentText; opacity: control.enabled ? 1 : 0.7
    }
    background: Rectangle {
        implicitHeight: 34; implicitWidth: 96; radius: 8
        color: Theme.accent; opacity: control.enabled ? (control.down ? 0.85 : 1) : 0.45
        border.width: control.visualFocus ? 2 : 0; border.color: Theme.text
    }
}
