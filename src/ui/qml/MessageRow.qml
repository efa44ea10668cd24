import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex

// One chat row: the user's turn as a bubble on the right, an answer as parsed blocks, a card
// (approval, artifact, alert, usage…) from its presentation, folded steps as a reasoning card,
// a turn's artifacts as chips. Which one shows is the row's kind; the fields come ready from C++.
Item {
    id: row
    required property var messageId
    required property string kind
    required property string text
    required property var blocks
    required property bool pending
    required property var card
    required property var reasoning
    required property var chips
    required property var choices
    required property bool approvalBusy
    required property string approvalError
    required property var review
    required property ChatSession session
    implicitHeight: content.implicitHeight + 14
    Accessible.role: Accessible.ListItem
    Accessible.name: kind === "user" ? "You: " + text
                   : kind === "steps" ? reasoning.title
                   : kind === "card" ? card.title : text

    Loader {
        id: content
        anchors { left: parent.left; right: parent.right; top: parent.top; topMargin: 7 }
        sourceComponent: {
            switch (row.kind) {
            case "user": return userBubble
            case "steps": return reasoningCard
            case "chips": return artifactChips
            case "goalReview": return goalReview
            case "card": return row.card.variant === "usage" ? usageLine : messageCard
            default: return answer
            }
        }
    }

    Component {
        id: userBubble
        Item {
            implicitHeight: bubble.height
            Rectangle {
                id: bubble
                anchors.right: parent.right
                width: Math.min(parent.width * 0.75, bubbleText.implicitWidth + 28)
                height: bubbleText.implicitHeight + 18
                radius: 14
                color: Theme.userBubble
                opacity: row.pending ? 0.7 : 1
                TextEdit {
                    id: bubbleText
                    anchors { fill: parent; leftMargin: 14; rightMargin: 14; topMargin: 9; bottomMargin: 9 }
                    text: row.text
                    wrapMode: Text.Wrap
                    readOnly: true
                    selectByMouse: true
                    color: Theme.text
                    font.pixelSize: 13
                }
            }
        }
    }

    Component {
        id: answer
        Column {
            objectName: "answerBlocks"
            spacing: 8
            Repeater {
                model: row.blocks
                delegate: MessageBlock {
                    required property var modelData
                    block: modelData
                    session: row.session
                }
            }
            Flow {
                width: parent.width
                spacing: 6
                visible: row.choices.length > 0
                Repeater {
                    model: row.choices
                    delegate: Chip {
                        required property string modelData
                        objectName: "choiceChip"
                        text: modelData
                        Accessible.name: "Reply: " + modelData
                        onClicked: row.session.chat.sendQuick(modelData)
                    }
                }
            }
        }
    }

    Component {
        id: usageLine
        RowLayout {
            objectName: "usageLine"
            spacing: 6
            Icon { symbol: row.card.icon.length > 0 ? row.card.icon : "chart.bar"; size: 13 }
            Label {
                Layout.fillWidth: true
                text: [row.card.title, row.card.body].filter(s => s.length > 0).join(" · ")
                color: Theme.secondaryText; font.pixelSize: 11
                elide: Text.ElideRight
            }
        }
    }

    Component {
        id: messageCard
        Rectangle {
            objectName: "card_" + row.card.variant
            radius: 10
            color: Theme.surface
            border.color: row.card.tone === "error" ? Theme.danger : Theme.border
            implicitHeight: cardBody.implicitHeight + 20
            ColumnLayout {
                id: cardBody
                anchors { left: parent.left; right: parent.right; top: parent.top; margins: 10 }
                spacing: 6
                RowLayout {
                    spacing: 8
                    Layout.fillWidth: true
                    Icon {
                        symbol: row.card.icon
                        size: 16
                        color: row.card.tone === "error" ? Theme.danger
                             : row.card.tone === "success" ? Theme.success
                             : row.card.tone === "action" ? Theme.accent : Theme.secondaryText
                    }
                    Label {
                        Layout.fillWidth: true
                        text: row.card.title
                        color: Theme.text; font.weight: Font.DemiBold
                        wrapMode: Text.Wrap
                    }
                    Label {
                        visible: text.length > 0
                        text: row.card.status
                        color: Theme.secondaryText; font.pixelSize: 11
                    }
                }
                TextEdit {
                    Layout.fillWidth: true
                    visible: text.length > 0
                    text: row.card.body
                    textFormat: TextEdit.MarkdownText
                    wrapMode: Text.Wrap; readOnly: true; selectByMouse: true
                    color: Theme.text
                    onLinkActivated: (link) => row.session.openLink(link)
                }
                Repeater {
                    model: row.card.metadata
                    delegate: RowLayout {
                        required property var modelData
                        spacing: 6
                        Label { text: modelData.label; color: Theme.secondaryText; font.pixelSize: 12 }
                        Label { text: modelData.value; color: Theme.text; font.pixelSize: 12; elide: Text.ElideRight; Layout.fillWidth: true }
                    }
                }
                Label {
                    visible: text.length > 0
                    text: row.card.nextAction
                    color: Theme.secondaryText; font.pixelSize: 12
                    wrapMode: Text.Wrap; Layout.fillWidth: true
                }
                RowLayout {
                    spacing: 8
                    visible: row.card.actions.length > 0
                    AccentButton {
                        objectName: "approveButton"
                        visible: row.card.actions.indexOf("approve") >= 0
                        text: "Approve"
                        enabled: !row.approvalBusy
                        onClicked: row.session.resolveApproval(row.messageId, true)
                    }
                    PlainButton {
                        objectName: "rejectButton"
                        visible: row.card.actions.indexOf("reject") >= 0
                        text: "Reject"
                        enabled: !row.approvalBusy
                        onClicked: row.session.resolveApproval(row.messageId, false)
                    }
                    PlainButton {
                        objectName: "openButton"
                        visible: row.card.actions.indexOf("open") >= 0 && row.card.destination.length > 0
                        text: "Open"
                        onClicked: row.session.openLink(row.card.destination)
                    }
                    BusyIndicator { visible: row.approvalBusy; running: visible; implicitWidth: 18; implicitHeight: 18 }
                }
                Label {
                    objectName: "approvalError"
                    visible: text.length > 0
                    text: row.approvalError
                    color: Theme.danger; wrapMode: Text.Wrap; Layout.fillWidth: true
                }
            }
        }
    }

    Component {
        id: reasoningCard
        Rectangle {
            id: fold
            objectName: "reasoningCard"
            property bool unfolded: false
            readonly property var blocksShown: unfolded ? row.reasoning.full : row.reasoning.collapsed
            radius: 10
            color: "transparent"
            border.color: Theme.border
            implicitHeight: foldBody.implicitHeight + 16
            ColumnLayout {
                id: foldBody
                anchors { left: parent.left; right: parent.right; top: parent.top; margins: 8 }
                spacing: 4
                ItemDelegate {
                    id: header
                    objectName: "reasoningToggle"
                    Layout.fillWidth: true
                    padding: 2
                    Accessible.name: (fold.unfolded ? "Fold " : "Unfold ") + row.reasoning.title
                    onClicked: fold.unfolded = !fold.unfolded
                    background: Rectangle { radius: 6; color: header.hovered ? Theme.hover : "transparent"; border.color: header.visualFocus ? Theme.focusRing : "transparent" }
                    contentItem: RowLayout {
                        spacing: 6
                        Icon { symbol: fold.unfolded ? "chevron.down" : "chevron.right"; size: 16 }
                        BusyIndicator { visible: row.reasoning.status === "running"; running: visible; implicitWidth: 14; implicitHeight: 14 }
                        Icon { visible: row.reasoning.status !== "running"; symbol: row.reasoning.status === "failed" ? "exclamationmark.triangle" : "brain"; size: 14 }
                        Label { text: row.reasoning.title; color: Theme.text; font.weight: Font.Medium; elide: Text.ElideRight; Layout.fillWidth: true }
                        Label { text: row.reasoning.meta; color: Theme.secondaryText; font.pixelSize: 11 }
                    }
                }
                Repeater {
                    model: fold.blocksShown
                    delegate: Column {
                        required property var modelData
                        Layout.fillWidth: true
                        Layout.leftMargin: 22
                        spacing: 2
                        Label { visible: text.length > 0; text: modelData.actor; color: Theme.secondaryText; font.pixelSize: 11; font.weight: Font.DemiBold }
                        Repeater {
                            model: modelData.stages
                            delegate: Label {
                                required property var modelData
                                width: fold.width - 40
                                text: modelData.text
                                textFormat: Text.MarkdownText
                                wrapMode: Text.Wrap
                                maximumLineCount: fold.unfolded ? 100 : 2
                                elide: Text.ElideRight
                                color: modelData.failed ? Theme.danger : Theme.secondaryText
                                font.pixelSize: 12
                            }
                        }
                    }
                }
                Label {
                    visible: !fold.unfolded && row.reasoning.hiddenCount > 0
                    Layout.leftMargin: 22
                    text: "+" + row.reasoning.hiddenCount
                    color: Theme.secondaryText; font.pixelSize: 11
                }
            }
        }
    }

    Component {
        id: artifactChips
        Flow {
            objectName: "artifactChips"
            spacing: 6
            Repeater {
                model: row.chips
                delegate: Chip {
                    required property var modelData
                    text: modelData.title.length > 0 ? modelData.title : modelData.artifactName
                    symbol: modelData.icon.length > 0 ? modelData.icon : "doc"
                    enabled: modelData.destination.length > 0
                    Accessible.name: "Open " + text
                    onClicked: row.session.openLink(modelData.destination)
                }
            }
        }
    }

    Component {
        id: goalReview
        Rectangle {
            objectName: "goalReviewCard"
            radius: 10
            color: Theme.surface
            border.color: Theme.border
            implicitHeight: reviewBody.implicitHeight + 20
            ColumnLayout {
                id: reviewBody
                anchors { left: parent.left; right: parent.right; top: parent.top; margins: 10 }
                spacing: 4
                RowLayout {
                    spacing: 8
                    Icon { symbol: "target"; size: 16 }
                    Label { text: row.review.objective; color: Theme.text; font.weight: Font.DemiBold; wrapMode: Text.Wrap; Layout.fillWidth: true }
                }
                Label { visible: text.length > 0; text: row.review.definitionOfDone; color: Theme.secondaryText; wrapMode: Text.Wrap; Layout.fillWidth: true }
            }
        }
    }
}
