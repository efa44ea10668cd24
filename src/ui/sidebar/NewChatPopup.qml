import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Sidebar

// A new chat with a model: pick the model (or the account's default), write the first message;
// the chat opens and the message is sent.
Popup {
    id: popup
    objectName: "newChatPopup"
    required property SidebarRows rows
    readonly property var models: rows ? rows.chatModels : []
    width: 420
    padding: 16
    modal: true
    focus: true
    onOpened: {
        rows.reloadChatModels()
        message.text = ""
        message.forceActiveFocus()
    }
    background: Rectangle { radius: 12; color: Theme.raised; border.color: Theme.border }

    function start() {
        if (message.text.trim().length === 0)
            return
        rows.startModelChat(models.length > 0 ? models[menu.currentIndex].id : "", message.text)
        close()
    }

    ColumnLayout {
        width: parent.width
        spacing: 10
        Label { text: "New chat"; color: Theme.text; font.pixelSize: 16; font.weight: Font.DemiBold }
        ComboBox {
            id: menu
            objectName: "newChatModel"
            Layout.fillWidth: true
            model: popup.models.map(e => e.group.length > 0 ? e.label + " · " + e.group : e.label)
            Accessible.name: "Model"
        }
        TextArea {
            id: message
            objectName: "newChatMessage"
            Layout.fillWidth: true
            Layout.preferredHeight: 90
            placeholderText: "Your first message"
            placeholderTextColor: Theme.secondaryText
            wrapMode: TextEdit.Wrap
            color: Theme.text
            Accessible.name: "First message"
            background: Rectangle { radius: 8; color: Theme.surface; border.color: message.activeFocus ? Theme.focusRing : Theme.border }
            Keys.onReturnPressed: (event) => {
                if (event.modifiers & Qt.ShiftModifier) { event.accepted = false; return }
                popup.start()
            }
        }
        RowLayout {
            Layout.fillWidth: true
            Item { Layout.fillWidth: true }
            PlainButton { text: "Cancel"; onClicked: popup.close() }
            AccentButton { text: "Start chat"; enabled: message.text.trim().length > 0; onClicked: popup.start() }
        }
    }
}
