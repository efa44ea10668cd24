import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls

// A titled text area of the intake, with an optional hint and the "Needs your input" mark.
ColumnLayout {
    id: field
    property string title
    property string hint: ""
    property string placeholder: ""
    property string text
    property bool flagged: false
    property int areaHeight: 84
    signal edited(string text)
    spacing: 4

    RowLayout {
        Layout.fillWidth: true
        spacing: 8
        Label { textFormat: Text.PlainText; text: field.title; color: Theme.text; font.pixelSize: 13; font.weight: Font.DemiBold }
        Rectangle {
            objectName: "needsInputMark"
            visible: field.flagged
            implicitWidth: mark.implicitWidth + 14; implicitHeight: 20; radius: 10
            color: "transparent"; border.color: Theme.danger
            Label { id: mark; anchors.centerIn: parent; text: "Needs your input"; color: Theme.danger; font.pixelSize: 11 }
        }
        Item { Layout.fillWidth: true }
    }
    Label {
        textFormat: Text.PlainText
        visible: field.hint.length > 0
        text: field.hint
        color: Theme.secondaryText; font.pixelSize: 12; wrapMode: Text.WordWrap; Layout.fillWidth: true
    }
    TextArea {
        id: area
        Layout.fillWidth: true
        Layout.preferredHeight: Math.max(field.areaHeight, contentHeight + topPadding + bottomPadding)
        text: field.text
        onTextChanged: if (text !== field.text) field.edited(text)
        placeholderText: field.placeholder
        placeholderTextColor: Theme.secondaryText
        wrapMode: TextEdit.Wrap
        color: Theme.text
        selectByMouse: true
        Accessible.name: field.title
        background: Rectangle {
            radius: 8; color: Theme.surface
            border.color: area.activeFocus ? Theme.focusRing : field.flagged ? Theme.danger : Theme.border
            border.width: area.activeFocus ? 2 : 1
        }
    }
}
