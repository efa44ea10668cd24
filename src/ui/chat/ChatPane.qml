import QtQuick
import QtQuick.Controls
import Halvex.Controls
import Halvex.Sidebar
import Halvex.Chat

// The conversation, or what to do while none is open. The conversation (and the message rows,
// cards and popups it uses) loads by address with the first chat opened and then stays while
// chats change. It is made in the background once the pane has been drawn: the window's first
// frame shows the sidebar without waiting for it, nor sharing the machine with its types, and
// the chat follows a few frames later.
Rectangle {
    id: pane
    objectName: "chatPane"
    required property SidebarRows rows
    readonly property ChatSession session: Screens.chat
    readonly property ChatViewModel chat: session ? session.chat : null
    readonly property bool hasChat: rows && rows.selectedId.length > 0
    property bool conversationWanted: false
    readonly property bool conversationReady: conversation.status === Loader.Ready
    // Set just after the pane's first frame (the frame's own work ends before the event loop's
    // next turn).
    property bool drawn: false
    onChatChanged: if (chat) conversationWanted = true
    Component.onCompleted: if (chat) conversationWanted = true
    color: Theme.window

    function focusComposer() { if (conversation.item) conversation.item.focusComposer() }
    function openFind() { if (conversation.item) conversation.item.openFind() }

    // A finished answer is read out to a screen reader, whoever has the focus.
    Connections {
        target: pane.session
        function onTurnFinished() {
            const answer = pane.session.lastAnswer()
            if (answer.length > 0)
                Announcer.announce((pane.hasChat ? pane.rows.selectedTitle + " answered: " : "") + answer)
        }
    }

    Connections {
        target: pane.drawn ? null : pane.Window.window
        function onAfterAnimating() { Qt.callLater(() => pane.drawn = true) }
    }

    SheetLoader {
        id: conversation
        anchors.fill: parent
        active: pane.conversationWanted && pane.drawn
        asynchronous: true
        address: "qrc:/Halvex/Chat/ChatConversation.qml"
        initialProperties: ({ rows: pane.rows })
    }

    // Until the first chat opens, the header's one button that matters: the sidebar back.
    Loader {
        active: !conversation.item && Screens.sidebar !== undefined && Screens.sidebar !== null && Screens.sidebar.collapsed
        x: 12; y: 8
        sourceComponent: ToolButton {
            objectName: "showSidebarWithoutChat"
            contentItem: Icon { symbol: "sidebar.left"; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
            onClicked: Screens.sidebar.collapsed = false
            Accessible.name: "Show sidebar"
        }
    }

    // What to do while no chat is picked. Made only then: a start that reopens the last chat
    // goes straight to it, without this flashing first (nor its large icon's font loading).
    Loader {
        anchors.fill: parent
        anchors.topMargin: 52
        active: pane.chat === null && !pane.hasChat
        sourceComponent: Item {
            Column {
                anchors.centerIn: parent
                width: Math.min(parent.width - 64, 420)
                spacing: 10
                Icon { symbol: "bubble.left.and.bubble.right"; size: 44; anchors.horizontalCenter: parent.horizontalCenter }
                Label {
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.WordWrap
                    text: "Pick an employee in the sidebar to start."
                    color: Theme.secondaryText
                }
            }
        }
    }
}
