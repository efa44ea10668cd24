import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Teams
import Halvex.Chat

// One message as a card from its presentation: approval, artifact, alert, event, notice. An
// approval offers its decision buttons with busy and error states.
Rectangle {
    id: box
    objectName: "card_" + box.card.variant
    required property var card
    required property var messageId
    required property bool approvalBusy
    required property string approvalError
    required property ChatSession session
    radius: 10
    color: Theme.surface
    border.color: box.card.tone === "error" ? Theme.danger : Theme.border
    implicitHeight: cardBody.implicitHeight + 20
    ColumnLayout {
        id: cardBody
        anchors { left: parent.left; right: parent.right; top: parent.top; margins: 10 }
        spacing: 6
        RowLayout {
            spacing: 8
            Layout.fillWidth: true
            Icon {
                symbol: box.card.icon
                size: 16
                color: box.card.tone === "error" ? Theme.danger
                     : box.card.tone === "success" ? Theme.success
                     : box.card.tone === "action" ? Theme.accent : Theme.secondaryText
            }
            Text {
                textFormat: Text.PlainText
                Layout.fillWidth: true
                text: box.card.title
                color: Theme.text; font.weight: Font.DemiBold
                wrapMode: Text.Wrap
            }
            Text {
                textFormat: Text.PlainText
                visible: text.length > 0
                text: box.card.status
                color: Theme.secondaryText; font.pixelSize: 11
            }
        }
        TextEdit {
            id: bodyText
            Layout.fillWidth: true
            visible: text.length > 0
            text: box.card.body
            textFormat: TextEdit.RichText
            wrapMode: Text.Wrap; readOnly: true; selectByMouse: true
            color: Theme.text
            onLinkActivated: (link) => Links.open(link)
        }
        Repeater {
            model: box.card.metadata
            delegate: RowLayout {
                required property var modelData
                spacing: 6
                Text { textFormat: Text.PlainText; text: modelData.label; color: Theme.secondaryText; font.pixelSize: 12 }
                Text { textFormat: Text.PlainText; text: modelData.value; color: Theme.text; font.pixelSize: 12; elide: Text.ElideRight; Layout.fillWidth: true }
            }
        }
        Text {
            textFormat: Text.PlainText
            visible: text.length > 0
            text: box.card.nextAction
            color: Theme.secondaryText; font.pixelSize: 12
            wrapMode: Text.Wrap; Layout.fillWidth: true
        }
        RowLayout {
            spacing: 8
            visible: box.card.actions.length > 0
            AccentButton {
                objectName: "approveButton"
                visible: box.card.actions.indexOf("approve") >= 0
                text: "Approve"
                enabled: !box.approvalBusy
                onClicked: box.session.resolveApproval(box.messageId, true)
            }
            PlainButton {
                objectName: "rejectButton"
                visible: box.card.actions.indexOf("reject") >= 0
                text: "Reject"
                enabled: !box.approvalBusy
                onClicked: box.session.resolveApproval(box.messageId, false)
            }
            PlainButton {
                objectName: "openButton"
                visible: box.card.previewable || (box.card.actions.indexOf("open") >= 0 && box.card.destination.length > 0)
                text: "Open"
                onClicked: box.card.previewable ? box.session.openArtifact(box.messageId) : Links.open(box.card.destination)
            }
            Spinner { visible: box.approvalBusy; size: 16 }
        }
        ArtifactPicture {
            address: box.card.image !== undefined ? box.card.image : ""
            name: box.card.artifactName
            Layout.preferredWidth: width
            Layout.preferredHeight: height
        }
        Text {
            objectName: "approvalError"
            textFormat: Text.PlainText
            visible: text.length > 0
            text: box.approvalError
            color: Theme.danger; wrapMode: Text.Wrap; Layout.fillWidth: true
        }
    }
}
