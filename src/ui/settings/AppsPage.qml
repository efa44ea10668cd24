import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Settings

// Outside apps the picked employee can reach: connected accounts, apps to connect with a key,
// payout accounts, and keys of external APIs.
ColumnLayout {
    id: page
    required property AppsSettings apps
    spacing: 12
    Component.onCompleted: apps.open()
    Component.onDestruction: apps.close()

    EmployeePicker {}
    RowLayout {
        spacing: 8
        BusyIndicator { visible: page.apps.loading || page.apps.busy; running: visible; implicitWidth: 22; implicitHeight: 22 }
        Label { objectName: "appsNotice"; visible: text.length > 0; text: page.apps.notice; textFormat: Text.PlainText; color: Theme.success }
        Label { objectName: "appsError"; visible: text.length > 0; text: page.apps.error; textFormat: Text.PlainText; color: Theme.danger; wrapMode: Text.WordWrap; Layout.fillWidth: true }
    }

    Label { text: "Connected"; color: Theme.text; font.weight: Font.DemiBold }
    Label { visible: page.apps.accounts.length === 0; text: "Nothing connected yet."; color: Theme.secondaryText }
    Repeater {
        model: page.apps.accounts
        delegate: RowLayout {
            required property var modelData
            Layout.fillWidth: true
            ColumnLayout {
                spacing: 0
                Layout.fillWidth: true
                Label { text: modelData.name; textFormat: Text.PlainText; color: Theme.text }
                Label { text: modelData.detail; textFormat: Text.PlainText; color: Theme.secondaryText; font.pixelSize: 12; visible: text.length > 0 }
            }
            PlainButton {
                objectName: "disconnect_" + modelData.id
                text: "Disconnect"
                enabled: !page.apps.busy
                onClicked: page.apps.disconnect(modelData.id)
            }
        }
    }

    Label { text: "Apps"; color: Theme.text; font.weight: Font.DemiBold; Layout.topMargin: 6 }
    PlainField {
        objectName: "connectorSearch"
        placeholderText: "Search apps"
        text: page.apps.connectorQuery
        onTextEdited: page.apps.connectorQuery = text
        Layout.preferredWidth: 320
        Accessible.name: "Search apps"
    }
    GridLayout {
        columns: 2
        columnSpacing: 10
        rowSpacing: 8
        Layout.fillWidth: true
        Repeater {
            model: page.apps.connectors
            delegate: Rectangle {
                required property var modelData
                Layout.fillWidth: true
                implicitHeight: 48
                radius: 8
                color: Theme.surface
                border.color: Theme.border
                RowLayout {
                    anchors { fill: parent; leftMargin: 10; rightMargin: 8 }
                    spacing: 8
                    Image {
                        source: modelData.logo
                        sourceSize: Qt.size(24, 24)
                        Layout.preferredWidth: 24; Layout.preferredHeight: 24
                        fillMode: Image.PreserveAspectFit
                        visible: status === Image.Ready
                    }
                    ColumnLayout {
                        spacing: 0
                        Layout.fillWidth: true
                        Label { text: modelData.name; textFormat: Text.PlainText; color: Theme.text; elide: Text.ElideRight; Layout.fillWidth: true }
                        Label { text: modelData.category; textFormat: Text.PlainText; color: Theme.secondaryText; font.pixelSize: 11 }
                    }
                    Chip {
                        objectName: "connect_" + modelData.slug
                        text: modelData.connected ? "Connected" : "Connect"
                        symbol: modelData.connected ? "checkmark" : "link"
                        enabled: !page.apps.busy
                        onClicked: keyDialog.ask(modelData.slug, modelData.name, true)
                    }
                }
            }
        }
    }

    Label { text: "Payout accounts"; color: Theme.text; font.weight: Font.DemiBold; Layout.topMargin: 6 }
    Label { visible: page.apps.payouts.length === 0; text: "No payout account yet."; color: Theme.secondaryText }
    Repeater {
        model: page.apps.payouts
        delegate: Label {
            required property var modelData
            text: modelData.label + (modelData.detail.length > 0 ? " · " + modelData.detail : "")
            textFormat: Text.PlainText; color: Theme.text
        }
    }

    Label { text: "API keys"; color: Theme.text; font.weight: Font.DemiBold; Layout.topMargin: 6 }
    Repeater {
        model: page.apps.keys
        delegate: RowLayout {
            required property var modelData
            Layout.fillWidth: true
            ColumnLayout {
                spacing: 0
                Layout.fillWidth: true
                Label { text: modelData.name; textFormat: Text.PlainText; color: Theme.text }
                Label { text: modelData.detail; textFormat: Text.PlainText; color: Theme.secondaryText; font.pixelSize: 12 }
            }
            PlainButton { text: "Remove"; enabled: !page.apps.busy; onClicked: page.apps.removeKey(modelData.id) }
        }
    }
    PlainField {
        placeholderText: "Search APIs"
        text: page.apps.apiQuery
        onTextEdited: page.apps.apiQuery = text
        Layout.preferredWidth: 320
        Accessible.name: "Search APIs"
    }
    Repeater {
        model: page.apps.catalog
        delegate: RowLayout {
            required property var modelData
            Layout.fillWidth: true
            ColumnLayout {
                spacing: 0
                Layout.fillWidth: true
                Label { text: modelData.label; textFormat: Text.PlainText; color: Theme.text }
                Label { text: modelData.summary; textFormat: Text.PlainText; color: Theme.secondaryText; font.pixelSize: 12; wrapMode: Text.WordWrap; Layout.fillWidth: true }
            }
            PlainButton {
                objectName: "addKey_" + modelData.slug
                text: "Add key"
                enabled: !page.apps.busy
                onClicked: keyDialog.ask(modelData.slug, modelData.label, false)
            }
        }
    }

    QuestionDialog {
        id: keyDialog
        property string slug
        property string name
        property bool app: true
        function ask(s, n, isApp) { slug = s; name = n; app = isApp; key.text = ""; user.text = ""; pass.text = ""; open(); key.forceActiveFocus() }
        title: (app ? "Connect " : "Add a key for ") + name
        onAccepted: app ? page.apps.connectApp(slug, key.text, user.text, pass.text) : page.apps.addKey(slug, key.text)
        ColumnLayout {
            spacing: 8
            width: 340
            PlainField { id: key; objectName: "keyField"; placeholderText: "API key"; echoMode: TextInput.Password; Layout.fillWidth: true; Accessible.name: "API key" }
            PlainField { id: user; visible: keyDialog.app; placeholderText: "User name (if the app asks)"; Layout.fillWidth: true; Accessible.name: "User name" }
            PlainField { id: pass; visible: keyDialog.app; placeholderText: "Password (if the app asks)"; echoMode: TextInput.Password; Layout.fillWidth: true; Accessible.name: "Password" }
            Label { text: "Keys are stored on the service and never shown again."; color: Theme.secondaryText; font.pixelSize: 12 }
        }
    }
}
