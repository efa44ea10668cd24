import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls

// A small rounded button: reply choices, suggestions, artifacts.
Button {
    id: chip
    property string symbol: ""
    font.pixelSize: 12
    Accessible.name: text
    readonly property bool drawsFocusRing: true
    contentItem: RowLayout {
        spacing: 4
        Icon { visible: chip.symbol.length > 0; symbol: chip.symbol; size: 13 }
        Text { textFormat: Text.PlainText; text: chip.text; color: chip.enabled ? Theme.text : Theme.secondaryText; font: chip.font; elide: Text.ElideRight; Layout.maximumWidth: 320 }
    }
    background: Rectangle {
        radius: 13; implicitHeight: 26
        // A checkable chip (one choice of several) shows its choice.
        color: chip.down ? Theme.hover : chip.checked ? Theme.selection : Theme.surface
        border.color: chip.visualFocus ? Theme.focusRing : chip.checked ? Theme.accent : Theme.border
        border.width: chip.visualFocus || chip.checked ? 2 : 1
    }
}
