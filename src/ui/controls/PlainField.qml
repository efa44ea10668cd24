import QtQuick
import QtQuick.Controls
import Halvex.Controls

// A one-line text field in the scheme's colours with a visible focus ring.
TextField {
    id: field
    color: Theme.text
    placeholderTextColor: Theme.secondaryText
    selectByMouse: true
    background: Rectangle {
        implicitHeight: 34; implicitWidth: 120; radius: 7; color: Theme.surface
        border.color: field.activeFocus ? Theme.focusRing : Theme.border
        border.width: field.activeFocus ? 2 : 1
    }
}
