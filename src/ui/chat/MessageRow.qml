import QtQuick
import Halvex.Controls
import Halvex.Chat

// One chat row: the user's turn as a bubble on the right, an answer as parsed blocks, a card
// (approval, artifact, alert, usage…) from its presentation, folded steps as a reasoning card,
// a turn's artifacts as chips. Which one shows is the row's kind; the fields come ready from C++.
Item {
    id: row
    required property int index
    required property var messageId
    required property string kind
    required property string text
    required property var blocks
    required property bool pending
    required property var card
    required property var reasoning
    required property var chips
    required property var choices
    required property var images
    required property var files
    required property bool approvalBusy
    required property string approvalError
    required property var review
    required property bool reviewBusy
    required property string reviewError
    required property ChatSession session
    // The current match of find in the chat: outlined until the find moves on.
    property bool findCurrent: false
    // A row that changes kind gets its new kind before the fields of it: its content waits for them.
    readonly property bool fieldsReady: kind === "card" ? card.title !== undefined
                                      : kind === "steps" ? reasoning.title !== undefined
                                      : kind === "goalReview" ? review.objective !== undefined : true
    implicitHeight: content.implicitHeight + 14
    Accessible.role: Accessible.ListItem
    Accessible.name: !fieldsReady ? ""
                   : kind === "user" ? "You: " + text
                   : kind === "steps" ? reasoning.title
                   : kind === "card" ? card.title
                   : kind === "goalReview" ? "Goal result to review: " + review.objective : text

    Rectangle {
        objectName: "findHighlight"
        visible: row.findCurrent
        anchors { fill: parent; topMargin: 2; bottomMargin: 2; leftMargin: -8; rightMargin: -8 }
        radius: 10
        color: Qt.rgba(Theme.accent.r, Theme.accent.g, Theme.accent.b, 0.10)
        border.color: Theme.focusRing
        border.width: 2
    }

    Loader {
        id: content
        anchors { left: parent.left; right: parent.right; top: parent.top; topMargin: 7 }
        // Each look is named by its address and reads this row as `row`: declared here as
        // components, every row made all seven (about 1 kB each).
        source: {
            if (!row.fieldsReady)
                return ""
            switch (row.kind) {
            case "user": return "RowUserBubble.qml"
            case "steps": return "RowReasoning.qml"
            case "chips": return "RowArtifactChips.qml"
            case "goalReview": return "RowGoalReview.qml"
            case "card": return row.card.variant === "usage" ? "RowUsageLine.qml" : "RowCard.qml"
            default: return "RowAnswer.qml"
            }
        }
    }
}
