import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Teams

// Rename (a new handle, typed in place), the member's model, and remove, for one member of the
// team menu.
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
    ComboBox {
        id: model
        visible: !actions.renaming
        objectName: "memberModel"
        model: actions.menu.modelChoices
        // Read again whenever the roster changes, so a saved choice shows what the service holds.
        currentIndex: actions.menu.roster && actions.menu.modelChoiceOf(actions.member.id)
        enabled: !actions.menu.busy
        Accessible.name: "Model of " + actions.member.name
        Layout.preferredHeight: 28
        Layout.fillWidth: true
        onActivated: index => actions.menu.setMemberModel(actions.member.id, index)
        // The default arrows vanish on the dark scheme.
        indicator: Icon {
            symbol: "chevron.down"
            x: model.width - width - 8
            y: (model.height - height) / 2
        }
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
}
