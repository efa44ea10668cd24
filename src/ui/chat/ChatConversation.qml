import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Sidebar
import Halvex.Teams
import Halvex.Chat
import Halvex.Workers

// The open conversation: header, messages, the working line, the error line, the composer. The
// chat pane loads it with the first chat opened and keeps it while chats change.
ColumnLayout {
    id: pane
    objectName: "chatConversation"
    required property SidebarRows rows
    readonly property ChatSession session: Screens.chat
    readonly property ChatViewModel chat: session ? session.chat : null
    readonly property bool hasChat: rows && rows.selectedId.length > 0
    readonly property ChatFindModel find: session ? session.find : null
    // The row of the current find match, -1 while nothing is being found.
    readonly property int findRow: find && findBar.visible ? find.currentRow : -1
    spacing: 0

    function focusComposer() { composer.focusInput() }
    function openFind() { if (pane.chat) findBar.open() }

    Connections {
        target: pane.session
        function onChatChanged() { findBar.close() }
    }

    Rectangle {
        Layout.fillWidth: true
        Layout.preferredHeight: 52
        color: Theme.window
        RowLayout {
            anchors.fill: parent
            anchors.leftMargin: 12
            anchors.rightMargin: 16
            spacing: 10
            ToolButton {
                objectName: "showSidebar"
                visible: Screens.sidebar ? Screens.sidebar.collapsed : false
                contentItem: Icon { symbol: "sidebar.left"; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: if (Screens.sidebar) Screens.sidebar.collapsed = false
                Accessible.name: "Show sidebar"
            }
            // The employee's picture, loaded at the pixels it is shown at; nothing for a team.
            Image {
                objectName: "chatAvatar"
                readonly property string address: pane.hasChat ? pane.rows.selectedAvatar : ""
                readonly property int side: Math.ceil(32 * Math.max(1, Screen.devicePixelRatio))
                visible: status === Image.Ready
                source: address.length > 0 ? "image://remote/avatar/" + side + "x" + side + "/" + encodeURIComponent(address) : ""
                sourceSize: Qt.size(side, side)
                Layout.preferredWidth: 32
                Layout.preferredHeight: 32
                asynchronous: true
                cache: false
                Accessible.role: Accessible.Graphic
                Accessible.name: pane.hasChat ? pane.rows.selectedTitle : ""
            }
            ColumnLayout {
                spacing: 1
                Layout.fillWidth: true
                Label {
                    objectName: "chatTitle"
                    text: pane.hasChat ? pane.rows.selectedTitle : ""
                    color: Theme.text; font.pixelSize: 15; font.weight: Font.DemiBold
                    elide: Text.ElideRight; Layout.fillWidth: true
                }
                Label {
                    visible: text.length > 0
                    text: pane.hasChat ? pane.rows.selectedSubtitle : ""
                    color: Theme.secondaryText; font.pixelSize: 12
                    elide: Text.ElideRight; Layout.fillWidth: true
                }
            }
            // A voice call with the employee; a team cannot be called.
            ToolButton {
                objectName: "callButton"
                visible: pane.session !== null && pane.session.connections !== null && Screens.voiceCall !== undefined && Screens.voiceCall !== null
                contentItem: Icon { symbol: "phone"; size: 18; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: Screens.voiceCall.openForSelected()
                Accessible.name: "Call"
                ToolTip.visible: hovered; ToolTip.text: "Call this employee"
            }
            // An employee's memory; a team's chat has none of its own.
            ToolButton {
                objectName: "memoryButton"
                visible: pane.session !== null && pane.session.connections !== null && Screens.memory !== undefined && Screens.memory !== null
                contentItem: Icon { symbol: "books.vertical"; size: 18; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: Screens.memory.openForSelected()
                Accessible.name: "Memory"
                ToolTip.visible: hovered; ToolTip.text: "Memory: what this employee knows"
            }
            // The employee's computer beside the chat (Ctrl+Shift+B); a team's chat has none.
            ToolButton {
                objectName: "computerButton"
                visible: pane.session !== null && pane.session.connections !== null && Screens.computer !== undefined && Screens.computer !== null
                checkable: false
                contentItem: Icon {
                    symbol: "globe"; size: 18; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter
                    color: Screens.computer && Screens.computer.panelOpen ? Theme.accent : Theme.secondaryText
                }
                onClicked: Screens.computer.toggle()
                Accessible.name: "Computer"
                ToolTip.visible: hovered; ToolTip.text: "Computer: watch the employee's browser (" + ShortcutCatalog.hint("computer") + ")"
            }
            ToolButton {
                id: goalsButton
                objectName: "goalsButton"
                visible: pane.session && pane.session.goals !== null
                contentItem: Icon { symbol: "target"; size: 18; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: if (goalsLoader.item) goalsLoader.item.open()
                Accessible.name: "Goals"
                ToolTip.visible: hovered; ToolTip.text: "Goals of this chat"
                Loader {
                    id: goalsLoader
                    active: pane.session !== null && pane.session.goals !== null
                    sourceComponent: GoalToolPopup {
                        parent: goalsButton
                        panel: pane.session.goals
                        y: goalsButton.height + 4
                        x: goalsButton.width - width
                    }
                }
            }
            ToolButton {
                id: connectionsButton
                objectName: "connectionsButton"
                visible: pane.session && pane.session.connections !== null
                contentItem: Icon { symbol: "link"; size: 18; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: if (connectionsLoader.item) connectionsLoader.item.open()
                Accessible.name: "Connections"
                ToolTip.visible: hovered; ToolTip.text: "E-mail, phone and connected apps"
                Loader {
                    id: connectionsLoader
                    active: pane.session !== null && pane.session.connections !== null
                    sourceComponent: ConnectionsPopup {
                        parent: connectionsButton
                        panel: pane.session.connections
                        y: connectionsButton.height + 4
                        x: connectionsButton.width - width
                    }
                }
            }
            ToolButton {
                id: loopButton
                objectName: "loopButton"
                visible: pane.session && pane.session.loop !== null
                contentItem: Icon { symbol: "repeat"; size: 18; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: if (loopLoader.item) loopLoader.item.open()
                Accessible.name: "Loop settings"
                ToolTip.visible: hovered; ToolTip.text: "Loop mode"
                Loader {
                    id: loopLoader
                    active: pane.session !== null && pane.session.loop !== null
                    sourceComponent: LoopPanelPopup {
                        parent: loopButton
                        panel: pane.session.loop
                        y: loopButton.height + 4
                        x: loopButton.width - width
                    }
                }
            }
            ToolButton {
                id: teamButton
                objectName: "teamMenuButton"
                visible: pane.session !== null && pane.session.teamMenu !== null
                contentItem: Icon { symbol: "person.3"; size: 18; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: if (teamLoader.item) teamLoader.item.open()
                Accessible.name: "Team menu"
                ToolTip.visible: hovered; ToolTip.text: "Team menu"
                background: Rectangle {
                    radius: 6
                    color: teamButton.hovered ? Theme.hover : "transparent"
                    border.width: teamButton.visualFocus ? 2 : 0; border.color: Theme.focusRing
                }
                Loader {
                    id: teamLoader
                    active: pane.session !== null && pane.session.teamMenu !== null
                    sourceComponent: TeamMenuPopup {
                        parent: teamButton
                        menu: pane.session.teamMenu
                        y: teamButton.height + 4
                        x: teamButton.width - width
                    }
                }
            }
            Label {
                objectName: "reconnecting"
                visible: pane.chat && pane.chat.isReconnecting
                text: "Reconnecting…"
                color: Theme.secondaryText; font.pixelSize: 12
            }
            Label {
                visible: text.length > 0
                text: pane.chat ? pane.chat.modelLabel : ""
                color: Theme.secondaryText; font.pixelSize: 12
            }
        }
        Rectangle { anchors.bottom: parent.bottom; width: parent.width; height: 1; color: Theme.border }
    }

    WorkerRunBar {
        Layout.fillWidth: true
        panel: Screens.workerRun !== undefined ? Screens.workerRun : null
    }

    Item {
        Layout.fillWidth: true
        Layout.fillHeight: true
        visible: pane.chat !== null

        ListView {
            id: messages
            objectName: "messageList"
            anchors.fill: parent
            clip: true
            model: pane.session ? pane.session.rows : null
            spacing: 2
            // No delegate reuse: Qt 6.4 leaves pooled delegates to the application object,
            // and their text documents then lay out after the fonts are gone at exit.
            reuseItems: false
            cacheBuffer: 800
            boundsBehavior: Flickable.StopAtBounds
            topMargin: 16; bottomMargin: 16
            Accessible.role: Accessible.List
            Accessible.name: "Messages"

            // Following the stream: while the reader is at the bottom, new rows, growing rows
            // and a shrinking view (suggestion chips appearing below) keep the newest line in
            // view. Scrolled up, the view stays put and counts what arrived meanwhile.
            property bool atEnd: true
            property int unseen: 0
            property int olderAnchor: -1
            property int countBeforeOlder: 0
            function followEnd() { if (atEnd && !moving) Qt.callLater(positionViewAtEnd) }
            function jumpToLatest() {
                atEnd = true
                unseen = 0
                positionViewAtEnd()
            }
            function readerMoved() {
                atEnd = atYEnd
                if (atEnd)
                    unseen = 0
            }
            onMovementEnded: readerMoved()
            onHeightChanged: followEnd()
            onContentHeightChanged: followEnd()
            // A newly opened chat lands on its newest message.
            onModelChanged: jumpToLatest()
            Connections {
                target: pane
                function onChatChanged() { messages.jumpToLatest() }
            }
            // Rows of different heights: when rows arrive below, the view re-estimates the
            // rows above and would drift; the row being read goes back to the top.
            // (Positions only: taking the item itself keeps Qt 6.4 from ever freeing it.)
            property int readingIndex: -1
            function holdReadingRow() { readingIndex = indexAt(width / 2, contentY + 1) }
            function restoreReadingRow() {
                const index = readingIndex
                readingIndex = -1
                if (index >= 0 && index < count)
                    positionViewAtIndex(index, ListView.Beginning)
            }
            Connections {
                target: messages.model
                function onRowsAboutToBeInserted(parent, first, last) {
                    if (!messages.atEnd && messages.olderAnchor < 0 && messages.readingIndex < 0)
                        messages.holdReadingRow()
                }
                function onRowsInserted(parent, first, last) {
                    if (!messages.atEnd && messages.readingIndex >= 0)
                        Qt.callLater(messages.restoreReadingRow)
                    if (messages.olderAnchor >= 0 || last !== messages.model.rowCount() - 1)
                        return // older history or a regroup inside, not news
                    if (messages.atEnd)
                        messages.followEnd()
                    else
                        messages.unseen += last - first + 1
                }
            }
            // Loading older history keeps the row being read where it is.
            Connections {
                target: pane.chat
                function onChanged() {
                    if (!pane.chat)
                        return
                    if (pane.chat.isLoadingOlder && messages.olderAnchor < 0) {
                        messages.olderAnchor = Math.max(0, messages.indexAt(0, messages.contentY + messages.topMargin))
                        messages.countBeforeOlder = messages.count
                    } else if (!pane.chat.isLoadingOlder && messages.olderAnchor >= 0) {
                        const added = messages.count - messages.countBeforeOlder
                        if (added > 0)
                            messages.positionViewAtIndex(messages.olderAnchor + added, ListView.Beginning)
                        messages.olderAnchor = -1
                    }
                }
            }
            onAtYBeginningChanged: if (atYBeginning && pane.chat && pane.chat.hasMoreHistory && count > 0) pane.session.loadOlder()
            delegate: MessageRow {
                width: Math.min(messages.width - 48, 820)
                x: (messages.width - width) / 2
                session: pane.session
                findCurrent: index === pane.findRow
            }
            // The current find match comes into view; the reader is no longer at the end.
            Connections {
                target: pane
                function onFindRowChanged() {
                    if (pane.findRow < 0)
                        return
                    messages.atEnd = false
                    messages.positionViewAtIndex(pane.findRow, ListView.Center)
                }
            }
            header: Item {
                width: messages.width
                height: pane.chat && pane.chat.isLoadingOlder ? 32 : 0
                BusyIndicator { anchors.centerIn: parent; running: parent.height > 0; visible: running; implicitWidth: 22; implicitHeight: 22 }
            }
            ScrollBar.vertical: ScrollBar {
                onPressedChanged: if (!pressed) messages.readerMoved()
            }
        }

        AccentButton {
            objectName: "jumpToLatest"
            visible: !messages.atEnd
            anchors { right: parent.right; bottom: parent.bottom; rightMargin: 24; bottomMargin: 12 }
            text: messages.unseen > 0 ? (messages.unseen === 1 ? "1 new message" : messages.unseen + " new messages") : "Jump to latest"
            onClicked: messages.jumpToLatest()
            Accessible.name: text
        }
        Shortcut { sequences: ShortcutCatalog.keys("jumpToLatest"); enabled: pane.chat !== null; onActivated: messages.jumpToLatest() }

        FindBar {
            id: findBar
            find: pane.find
            anchors { top: parent.top; right: parent.right; topMargin: 8; rightMargin: 20 }
            width: Math.min(parent.width - 40, 420)
        }
        Shortcut { sequences: ShortcutCatalog.keys("find"); enabled: pane.chat !== null && pane.visible; onActivated: findBar.open() }
    }

    ArtifactPreviewPopup {
        preview: pane.session ? pane.session.preview : null
        session: pane.session
    }

    ColumnLayout {
        Layout.fillWidth: true
        Layout.maximumWidth: 868
        Layout.alignment: Qt.AlignHCenter
        Layout.leftMargin: 24
        Layout.rightMargin: 24
        Layout.bottomMargin: 16
        visible: pane.chat !== null
        spacing: 6
        RowLayout {
            objectName: "workingIndicator"
            visible: pane.chat && pane.chat.isThinking
            spacing: 6
            Spinner { running: parent.visible; size: 16 }
            Label { text: "Working…"; color: Theme.secondaryText; font.pixelSize: 12 }
        }
        Flow {
            Layout.fillWidth: true
            visible: pane.chat && pane.chat.chatSuggestions.length > 0 && !pane.chat.isThinking
            spacing: 6
            Repeater {
                model: pane.chat ? pane.chat.chatSuggestions : []
                delegate: Chip {
                    required property string modelData
                    objectName: "suggestionChip"
                    text: modelData
                    symbol: "sparkles"
                    onClicked: pane.chat.sendQuick(modelData)
                    Accessible.name: "Send: " + modelData
                }
            }
        }
        RowLayout {
            Layout.fillWidth: true
            visible: chatError.text.length > 0
            Label {
                id: chatError
                objectName: "chatError"
                text: pane.chat ? pane.chat.error : ""
                color: Theme.danger
                wrapMode: Text.WordWrap
                Layout.fillWidth: true
            }
            // Out of tokens: the message stays in the composer, ready to send again.
            PlainButton {
                objectName: "topUpFromChat"
                visible: pane.chat !== null && pane.chat.needsPayment
                text: "Top up…"
                onClicked: Window.window.openSettings("billing")
            }
        }
        LaunchStatusLine {
            Layout.fillWidth: true
            launcher: Screens.workerLauncher !== undefined ? Screens.workerLauncher : null
        }
        Composer {
            id: composer
            Layout.fillWidth: true
            session: pane.session
        }
    }
}
