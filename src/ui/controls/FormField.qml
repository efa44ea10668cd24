import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls

ColumnLayout {
    id: field
    property string label
    property string text
    property bool secret: false
    property string placeholder: ""
    signal edited(string text)
    signal accepted()
    spacing: 4
    function forceActiveFocus() { input.forceActiveFocus() }

    Label { textFormat: Text.PlainText; text: field.label; color: Theme.secondaryText; font.pixelSize: 12 }
    TextField {
        id: input
        Layout.fillWidth: true
        text: field.text
        placeholderText: field.placeholder
        placeholderTextColor: Theme.secondaryText
        selectByMouse: true
        echoMode: field.secret ? TextInput.Password : TextInput.Normal
        color: Theme.text
        onTextEdited: field.edited(text)
        onAccepted: field.accepted()
        Accessible.name: field.label
        background: Rectangle {
            implicitHeight: 34; radius: 7; color: Theme.surface
            border.color: input.activeFocus ? Theme.focusRing : Theme.border
            border.width: input.activeFocus ? 2 : 1
        }
    }
}
