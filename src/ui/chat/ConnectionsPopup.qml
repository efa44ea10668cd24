import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Chat

// How the employee reaches people: its own e-mail address and phone number, and the accounts
// connected for it. Secrets are typed into masked fields and never shown back.
Popup {
    id: popup
    objectName: "connectionsPopup"
    required property ConnectionsPanel panel
    width: 400
    padding: 14
    focus: true
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
    onOpened: {
        panel.open()
        if (Screens.computer)
            Screens.computer.kick()
    }
    // Kept inside the window; a short window scrolls the sections instead of cutting them off.
    margins: 8
    background: Rectangle { radius: 12; color: Theme.raised; border.color: Theme.border }

    contentItem: ScrollView {
        id: scroller
        objectName: "connectionsScroller"
        contentWidth: availableWidth
        clip: true
        ColumnLayout {
            width: scroller.availableWidth
            spacing: 10
            RowLayout {
                Label { text: "Connections"; color: Theme.text; font.weight: Font.DemiBold; Layout.fillWidth: true }
                BusyIndicator { visible: popup.panel.loading || popup.panel.busyAction.length > 0; running: visible; implicitWidth: 18; implicitHeight: 18 }
            }

            Label { text: "E-mail"; color: Theme.secondaryText; font.pixelSize: 12 }
            Label { objectName: "emailAddress"; visible: popup.panel.email.length > 0; text: popup.panel.email; textFormat: Text.PlainText; color: Theme.text }
            RowLayout {
                visible: popup.panel.email.length === 0
                Layout.fillWidth: true
                PlainField {
                    objectName: "emailLocalPart"
                    placeholderText: "name"
                    text: popup.panel.emailLocalPart
                    onTextEdited: popup.panel.emailLocalPart = text
                    Layout.fillWidth: true
                    Accessible.name: "Address name"
                }
                AccentButton {
                    objectName: "provisionEmail"
                    text: "Create address"
                    enabled: popup.panel.busyAction.length === 0
                    onClicked: popup.panel.provisionEmail()
                }
            }

            Label { text: "Phone"; color: Theme.secondaryText; font.pixelSize: 12; Layout.topMargin: 4 }
            Label { objectName: "phoneNumber"; visible: popup.panel.phone.length > 0; text: popup.panel.phone; textFormat: Text.PlainText; color: Theme.text }
            ColumnLayout {
                visible: popup.panel.phone.length === 0
                Layout.fillWidth: true
                spacing: 6
                ComboBox {
                    objectName: "carrier"
                    Layout.fillWidth: true
                    model: popup.panel.carriers
                    textRole: "label"
                    valueRole: "id"
                    currentIndex: popup.panel.carriers.findIndex(c => c.id === popup.panel.carrierId)
                    onActivated: popup.panel.carrierId = currentValue
                    Accessible.name: "Carrier"
                }
                Label {
                    textFormat: Text.PlainText
                    text: popup.panel.carriers.find(c => c.id === popup.panel.carrierId).blurb
                    color: Theme.secondaryText; font.pixelSize: 12; wrapMode: Text.WordWrap; Layout.fillWidth: true
                }
                Repeater {
                    model: popup.panel.fields
                    delegate: PlainField {
                        required property var modelData
                        objectName: "carrierField_" + modelData.key
                        Layout.fillWidth: true
                        placeholderText: modelData.label + (modelData.optional ? " (optional)" : "") + " — " + modelData.placeholder
                        text: modelData.value
                        echoMode: modelData.secure ? TextInput.Password : TextInput.Normal
                        onTextEdited: popup.panel.setField(modelData.key, text)
                        Accessible.name: modelData.label
                    }
                }
                AccentButton {
                    objectName: "connectPhone"
                    text: "Connect number"
                    enabled: popup.panel.busyAction.length === 0
                    onClicked: popup.panel.connectPhone()
                }
            }

            Label { text: "Connected apps"; color: Theme.secondaryText; font.pixelSize: 12; Layout.topMargin: 4 }
            Label { visible: popup.panel.accounts.length === 0; text: "None yet — connect apps in Settings › Apps."; color: Theme.secondaryText; font.pixelSize: 12 }
            Repeater {
                model: popup.panel.accounts
                delegate: Label {
                    required property var modelData
                    text: modelData.name + (modelData.status.length > 0 ? " · " + modelData.status : "")
                    textFormat: Text.PlainText; color: Theme.text
                }
            }
            // Web logins: the services the employee's own browser is signed in to; choosing one opens
            // its sign-in page in the employee's computer beside the chat.
            Label { text: "Web logins"; color: Theme.secondaryText; font.pixelSize: 12; Layout.topMargin: 4; visible: webLogins.count > 0 }
            Flow {
                objectName: "webLogins"
                Layout.fillWidth: true
                spacing: 6
                Repeater {
                    id: webLogins
                    model: Screens.computer ? Screens.computer.services : []
                    delegate: Chip {
                        required property var modelData
                        objectName: "webLogin_" + modelData.id
                        text: modelData.label
                        symbol: modelData.state === "connected" ? "checkmark.circle" : modelData.icon
                        checked: modelData.state !== "disconnected"
                        Accessible.name: modelData.label + ", " + modelData.stateText
                        ToolTip.visible: hovered; ToolTip.text: modelData.stateText + " · " + modelData.host
                        onClicked: {
                            Screens.computer.signInTo(modelData.id)
                            popup.close()
                        }
                    }
                }
            }
            Label {
                objectName: "connectionsError"
                visible: text.length > 0
                text: popup.panel.error
                textFormat: Text.PlainText
                color: Theme.danger; wrapMode: Text.WordWrap; Layout.fillWidth: true
            }
        }
    }
}
