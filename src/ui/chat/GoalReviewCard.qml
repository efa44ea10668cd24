import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Teams
import Halvex.Chat

// A goal result waiting for the user: accept it, or send it back with what should change.
// The decision and its checks are the chat's; the card only collects the feedback text.
Rectangle {
    id: card
    objectName: "goalReviewCard"
    required property var review
    required property bool busy
    required property string error
    required property ChatSession session
    property bool revising: false
    readonly property string reviewKey: review.key !== undefined ? review.key : ""
    // A reused delegate showing another review starts over.
    onReviewKeyChanged: { revising = false; feedback.text = "" }

    radius: 10
    color: Theme.surface
    border.color: Theme.accent
    implicitHeight: body.implicitHeight + 24
    Accessible.role: Accessible.Grouping
    Accessible.name: "Goal result to review: " + review.objective

    ColumnLayout {
        id: body
        anchors { left: parent.left; right: parent.right; top: parent.top; margins: 12 }
        spacing: 6
        RowLayout {
            spacing: 8
            Layout.fillWidth: true
            Icon { symbol: "target"; size: 16; color: Theme.accent }
            Text {
                text: "Result ready for review"
                color: Theme.text; font.weight: Font.DemiBold
                Layout.fillWidth: true; elide: Text.ElideRight
            }
            Text {
                textFormat: Text.PlainText
                visible: !!card.review.deadline
                text: "Review by " + card.review.deadline
                color: Theme.secondaryText; font.pixelSize: 11
            }
        }
        Text {
            objectName: "goalReviewObjective"
            textFormat: Text.PlainText
            text: card.review.objective
            color: Theme.text
            wrapMode: Text.Wrap; Layout.fillWidth: true
        }
        Text {
            textFormat: Text.PlainText
            visible: !!card.review.definitionOfDone
            text: "Done when: " + card.review.definitionOfDone
            color: Theme.secondaryText; font.pixelSize: 12
            wrapMode: Text.Wrap; Layout.fillWidth: true
        }
        TextArea {
            id: feedback
            objectName: "goalFeedback"
            visible: card.revising
            Layout.fillWidth: true
            Layout.minimumHeight: 64
            wrapMode: TextEdit.Wrap
            placeholderText: "What should be changed?"
            placeholderTextColor: Theme.secondaryText
            color: Theme.text
            enabled: !card.busy
            Accessible.name: "What should be changed"
            KeyNavigation.tab: sendBack
            background: Rectangle {
                radius: 6; color: Theme.raised
                border.color: feedback.activeFocus ? Theme.focusRing : Theme.border
                border.width: feedback.activeFocus ? 2 : 1
            }
        }
        RowLayout {
            spacing: 8
            AccentButton {
                objectName: "goalAccept"
                visible: !card.revising
                text: "Accept"
                Accessible.name: "Accept the result"
                enabled: !card.busy
                onClicked: card.session.acceptGoalResult(card.reviewKey)
            }
            PlainButton {
                objectName: "goalRequestChanges"
                visible: !card.revising
                text: "Request changes"
                enabled: !card.busy
                onClicked: { card.revising = true; feedback.forceActiveFocus() }
            }
            AccentButton {
                id: sendBack
                objectName: "goalSendBack"
                visible: card.revising
                text: "Send back"
                Accessible.name: "Send the result back with these changes"
                enabled: !card.busy
                onClicked: card.session.requestGoalChanges(card.reviewKey, feedback.text)
            }
            PlainButton {
                objectName: "goalCancel"
                visible: card.revising
                text: "Cancel"
                enabled: !card.busy
                onClicked: card.revising = false
            }
            Spinner { visible: card.busy; size: 16 }
        }
        Text {
            objectName: "goalReviewError"
            textFormat: Text.PlainText
            visible: text.length > 0
            text: card.error
            color: Theme.danger
            wrapMode: Text.Wrap; Layout.fillWidth: true
        }
    }
}
