import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex

// Rename (a new handle, typed in place) and remove, for one member of the team menu.
RowLayout {
    id: actions
    required property TeamMenu menu
    required property var member
    property bool renaming: false
    spacing: 6
    Layout.fillWidth: true

    PlainField {
        id: handle
        visible: actions.renaming
        objectName: "memberHandleField"
        placeholderText: "New handle"
        Accessible.name: "New handle for " + actions.member.name
        Layout.fillWidth: true
        Layout.preferredHeight: 28
        Keys.onReturnPressed: save.clicked()
        Keys.onEscapePressed: actions.renaming = false
    }
    PlainButton {
        id: save
        visible: actions.renaming
        objectName: "memberRenameSave"
        text: "Save"
        enabled: !actions.menu.busy
        Layout.preferredHeight: 28; Layout.preferredWidth: 64
        onClicked: { actions.menu.renameMember(actions.member.id, handle.text); actions.renaming = false }
    }
    PlainButton {
        visible: !actions.renaming
        objectName: "memberRename"
        text: "Rename"
        Accessible.name: "Rename " + actions.member.name
        enabled: !actions.menu.busy
        Layout.preferredHeight: 28; Layout.preferredWidth: 72
        onClicked: { handle.text = actions.member.handle; actions.renaming = true; handle.forceActiveFocus() }
    }
    PlainButton {
        visible: !actions.renaming
        objectName: "memberRemove"
        text: "Remove"
        Accessible.name: "Remove " + actions.member.name + " from the team"
        enabled: !actions.menu.busy
        Layout.preferredHeight: 28; Layout.preferredWidth: 72
        onClicked: actions.menu.removeMember(actions.member.id)
    }
    Item { Layout.fillWidth: !actions.renaming }
}
