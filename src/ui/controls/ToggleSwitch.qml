import QtQuick
import QtQuick.Controls
import Halvex.Controls

// An on/off switch in the scheme's colours: the track is the accent when on and outlined when
// off, so both states read in the light and the dark scheme.
Switch {
    id: control
    Accessible.name: text
    readonly property bool drawsFocusRing: true
    indicator: Rectangle {
        implicitWidth: 36; implicitHeight: 20
        x: control.leftPadding
        y: (control.height - height) / 2
        radius: height / 2
        color: control.checked ? Theme.accent : Theme.surface
        border.color: control.visualFocus ? Theme.focusRing : (control.checked ? Theme.accent : Theme.secondaryText)
        border.width: control.visualFocus ? 2 : 1
        opacity: control.enabled ? 1 : 0.5
        Rectangle {
            width: 14; height: 14; radius: 7
            anchors.verticalCenter: parent.verticalCenter
            x: control.checked ? parent.width - width - 3 : 3
            color: control.checked ? Theme.accentText : Theme.secondaryText
        }
    }
    contentItem: Label {
        textFormat: Text.PlainText
        text: control.text
        color: Theme.text
        verticalAlignment: Text.AlignVCenter
        leftPadding: control.indicator.width + control.spacing
    }
}
