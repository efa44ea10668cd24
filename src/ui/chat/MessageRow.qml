import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Teams
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
        active: row.fieldsReady
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
            implicitHeight: bubble.height + (pictures.visible ? pictures.height + 6 : 0)
                            + (fileChips.visible ? fileChips.height + 6 : 0)
            // Pictures the turn carried, as thumbnails at their shown size; a click opens the file.
            Flow {
                id: pictures
                anchors { right: parent.right; top: parent.top }
                width: Math.min(parent.width * 0.75, 3 * 166)
                layoutDirection: Qt.RightToLeft
                spacing: 6
                visible: row.images.length > 0
                Repeater {
                    model: row.images
                    delegate: Image {
                        required property var modelData
                        readonly property int side: Math.ceil(160 * Math.max(1, Screen.devicePixelRatio))
                        objectName: "chatThumbnail"
                        width: 160; height: 120
                        fillMode: Image.PreserveAspectCrop
                        asynchronous: true
                        cache: false
                        source: "image://remote/thumbnail/" + side + "x" + Math.ceil(side * 3 / 4) + "/" + encodeURIComponent(modelData.url)
                        Accessible.role: Accessible.Graphic
                        Accessible.name: modelData.name
                        Rectangle { anchors.fill: parent; color: "transparent"; border.color: Theme.border; radius: 8; visible: parent.status !== Image.Ready }
                        TapHandler { onTapped: Links.openDocument(modelData.url, modelData.name, "image/*") }
                    }
                }
            }
            Rectangle {
                id: bubble
                anchors.top: pictures.visible ? pictures.bottom : parent.top
                anchors.topMargin: pictures.visible ? 6 : 0
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
            // Documents the turn carried; each opens in the document viewer.
            Flow {
                id: fileChips
                objectName: "chatFiles"
                anchors { right: parent.right; top: bubble.bottom; topMargin: 6 }
                width: Math.min(parent.width * 0.75, 520)
                layoutDirection: Qt.RightToLeft
                spacing: 6
                visible: row.files.length > 0
                Repeater {
                    model: row.files
                    delegate: Chip {
                        required property var modelData
                        text: modelData.size.length > 0 ? modelData.name + " · " + modelData.size : modelData.name
                        symbol: "doc"
                        Accessible.name: "Open " + modelData.name
                        onClicked: Links.openDocument(modelData.url, modelData.name, modelData.mime)
                    }
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
            // The title as the service wrote it, the body as rendered (checked) rich text.
            Text {
                textFormat: Text.PlainText
                visible: text.length > 0
                Layout.maximumWidth: parent.width / 2
                text: row.card.title.length > 0 && row.card.body.length > 0 ? row.card.title + " ·" : row.card.title
                color: Theme.secondaryText; font.pixelSize: 11
                elide: Text.ElideRight
            }
            Text {
                textFormat: Text.RichText
                visible: text.length > 0
                Layout.fillWidth: true
                text: row.card.body
                onLinkActivated: (link) => Links.open(link)
                color: Theme.secondaryText; font.pixelSize: 11
            }
        }
    }

    Component {
        id: messageCard
        MessageCard {
            card: row.card
            messageId: row.messageId
            approvalBusy: row.approvalBusy
            approvalError: row.approvalError
            session: row.session
        }
    }

    Component {
        id: reasoningCard
        ReasoningCard { reasoning: row.reasoning }
    }

    Component {
        id: artifactChips
        Flow {
            objectName: "artifactChips"
            spacing: 6
            Repeater {
                model: row.chips
                delegate: Column {
                    required property var modelData
                    spacing: 4
                    ArtifactPicture { address: parent.modelData.image; name: parent.modelData.artifactName }
                    Chip {
                        readonly property var card: parent.modelData
                        text: card.title.length > 0 ? card.title : card.artifactName
                        symbol: card.icon.length > 0 ? card.icon : "doc"
                        enabled: card.previewable || card.destination.length > 0
                        Accessible.name: "Open " + text
                        onClicked: card.previewable ? row.session.openArtifact(card.messageId) : Links.open(card.destination)
                    }
                }
            }
        }
    }

    Component {
        id: goalReview
        GoalReviewCard {
            review: row.review
            busy: row.reviewBusy
            error: row.reviewError
            session: row.session
        }
    }
}
