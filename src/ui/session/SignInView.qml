import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Session

Rectangle {
    id: view
    required property SignInForm form
    color: Theme.sidebar

    Rectangle {
        id: card
        objectName: "signInCard"
        anchors.centerIn: parent
        width: 400
        height: column.implicitHeight + 64
        radius: 14
        color: Theme.raised
        border.color: Theme.border

        ColumnLayout {
            id: column
            anchors { left: parent.left; right: parent.right; top: parent.top; margins: 32 }
            spacing: 12

            Label { textFormat: Text.PlainText; text: view.form.title; font.pixelSize: 22; font.weight: Font.DemiBold; color: Theme.text }
            Label {
                textFormat: Text.PlainText
                text: view.form.subtitle; color: Theme.secondaryText; wrapMode: Text.WordWrap
                Layout.fillWidth: true
            }

            Row {
                Layout.fillWidth: true
                Layout.topMargin: 6
                spacing: 0
                Repeater {
                    model: [view.form.logInLabel, view.form.signUpLabel]
                    delegate: Button {
                        required property int index
                        required property string modelData
                        width: (column.width) / 2
                        text: modelData
                        checkable: true
                        checked: (index === 1) === view.form.signUp
                        contentItem: Label { textFormat: Text.PlainText; text: parent.text; color: Theme.text; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter; font.weight: parent.checked ? Font.DemiBold : Font.Normal }
                        onClicked: view.form.signUp = (index === 1)
                        Accessible.name: modelData
                        background: Rectangle {
                            radius: 7
                            color: parent.checked ? Theme.selection : Theme.surface
                            border.color: parent.activeFocus ? Theme.accent : Theme.border
                        }
                    }
                }
            }

            FormField {
                Layout.fillWidth: true
                visible: view.form.showsNameField
                label: view.form.nameLabel
                text: view.form.fullName
                onEdited: (t) => view.form.fullName = t
            }
            FormField {
                Layout.fillWidth: true
                id: emailField
                objectName: "emailField"
                label: view.form.emailLabel
                text: view.form.email
                onEdited: (t) => view.form.email = t
                onAccepted: view.form.submit()
            }
            FormField {
                Layout.fillWidth: true
                objectName: "passwordField"
                label: view.form.passwordLabel
                secret: true
                text: view.form.password
                onEdited: (t) => view.form.password = t
                onAccepted: view.form.submit()
            }

            Button {
                id: submit
                objectName: "submitButton"
                Layout.fillWidth: true
                Layout.topMargin: 4
                text: view.form.submitLabel
                enabled: view.form.canSubmit
                onClicked: view.form.submit()
                Accessible.name: text
                contentItem: Label {
                    textFormat: Text.PlainText
                    text: submit.text; horizontalAlignment: Text.AlignHCenter; font.weight: Font.DemiBold
                    color: Theme.accentText; opacity: submit.enabled ? 1 : 0.6
                }
                background: Rectangle {
                    implicitHeight: 36; radius: 8
                    color: Theme.accent; opacity: submit.enabled ? 1 : 0.45
                    border.width: submit.activeFocus ? 2 : 0; border.color: Theme.text
                }
                BusyIndicator { anchors.right: parent.right; anchors.verticalCenter: parent.verticalCenter; height: 24; width: 24; running: view.form.busy; visible: running }
            }
            Button {
                objectName: "googleButton"
                Layout.fillWidth: true
                text: view.form.googleLabel
                enabled: !view.form.busy
                onClicked: view.form.continueWithGoogle()
                Accessible.name: text
                background: Rectangle {
                    implicitHeight: 36; radius: 8; color: Theme.surface
                    border.color: parent.activeFocus ? Theme.accent : Theme.border
                }
            }

            Label {
                objectName: "authError"
                textFormat: Text.PlainText
                visible: view.form.error.length > 0
                text: view.form.error
                color: Theme.danger
                wrapMode: Text.WordWrap
                Layout.fillWidth: true
            }

            RowLayout {
                Layout.alignment: Qt.AlignHCenter
                spacing: 6
                Label { textFormat: Text.PlainText; text: view.form.modeSwitchPrompt; color: Theme.secondaryText }
                Label {
                    textFormat: Text.PlainText
                    text: view.form.modeSwitchAction; color: Theme.accent; font.weight: Font.DemiBold
                    MouseArea { anchors.fill: parent; cursorShape: Qt.PointingHandCursor; onClicked: view.form.toggleMode() }
                }
            }
            Label {
                textFormat: Text.PlainText
                Layout.alignment: Qt.AlignHCenter
                text: view.form.footerLine
                color: Theme.secondaryText
                font.pixelSize: 11
            }
        }
    }
    Component.onCompleted: emailField.forceActiveFocus()
}
