import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Settings

ColumnLayout {
    id: page
    required property IdentitySettings identity
    spacing: 12
    Component.onCompleted: if (identity) identity.open()

    Label {
        visible: !page.identity
        text: "Sign in to edit your employees’ identity."
        color: Theme.secondaryText
    }
    Label {
        visible: page.identity && page.identity.agents.length === 0
        text: "You have no employees yet."
        color: Theme.secondaryText
    }

    ColumnLayout {
        visible: page.identity && page.identity.agents.length > 0
        spacing: 12
        Layout.fillWidth: true

        Label { text: "Employee"; color: Theme.secondaryText; font.pixelSize: 12 }
        ComboBox {
            id: picker
            objectName: "identityAgent"
            Layout.preferredWidth: 320
            model: page.identity ? page.identity.agents : []
            textRole: "name"
            valueRole: "id"
            currentIndex: page.identity ? page.identity.agents.findIndex(a => a.id === page.identity.agentId) : -1
            onActivated: page.identity.selectAgent(currentValue)
            Accessible.name: "Employee"
        }

        FormField {
            objectName: "identityName"
            label: "Name"
            text: page.identity ? page.identity.name : ""
            onEdited: (t) => page.identity.name = t
            onAccepted: page.identity.saveAgent()
            Layout.preferredWidth: 420
        }
        FormField {
            label: "Response language"
            placeholder: "Same as the conversation"
            text: page.identity ? page.identity.responseLanguage : ""
            onEdited: (t) => page.identity.responseLanguage = t
            onAccepted: page.identity.saveAgent()
            Layout.preferredWidth: 420
        }
        RowLayout {
            spacing: 8
            AccentButton {
                objectName: "identitySave"
                text: "Save"
                enabled: page.identity && !page.identity.savingAgent && !page.identity.loading
                onClicked: page.identity.saveAgent()
            }
            BusyIndicator {
                running: page.identity && (page.identity.loading || page.identity.savingAgent)
                visible: running; implicitWidth: 22; implicitHeight: 22
            }
        }

        Label { text: "Voice"; color: Theme.secondaryText; font.pixelSize: 12; Layout.topMargin: 8 }
        RowLayout {
            spacing: 16
            Repeater {
                model: [{ title: "Female", choice: "female" }, { title: "Male", choice: "male" }]
                delegate: RadioButton {
                    id: voice
                    required property var modelData
                    text: modelData.title
                    checked: page.identity && page.identity.voiceChoice === modelData.choice
                    onClicked: page.identity.selectVoice(modelData.choice)
                    Accessible.name: modelData.title + " voice"
                    contentItem: Label { textFormat: Text.PlainText; text: voice.text; color: Theme.text; leftPadding: voice.indicator.width + 6; verticalAlignment: Text.AlignVCenter }
                }
            }
        }

        Rectangle { Layout.fillWidth: true; height: 1; color: Theme.border; Layout.topMargin: 8 }
        Label { text: "Your company"; color: Theme.text; font.weight: Font.DemiBold }
        FormField {
            label: "Company"
            text: page.identity ? page.identity.company : ""
            onEdited: (t) => page.identity.company = t
            Layout.preferredWidth: 420
        }
        FormField {
            label: "Website"
            text: page.identity ? page.identity.website : ""
            onEdited: (t) => page.identity.website = t
            Layout.preferredWidth: 420
        }
        PlainButton {
            text: "Save company"
            enabled: page.identity && !page.identity.savingProfile
            onClicked: page.identity.saveProfile()
        }

        Label {
            objectName: "identityStatus"
            textFormat: Text.PlainText
            visible: text.length > 0
            text: page.identity ? page.identity.status : ""
            color: Theme.secondaryText
        }
        Label {
            objectName: "identityError"
            textFormat: Text.PlainText
            visible: text.length > 0
            text: page.identity ? page.identity.error : ""
            color: Theme.danger
            wrapMode: Text.WordWrap
            Layout.fillWidth: true
        }
    }
}
