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
                    textFormat: Text.PlainText
                    text: pane.hasChat ? pane.rows.selectedTitle : ""
                    color: Theme.text; font.pixelSize: 15; font.weight: Font.DemiBold
                    elide: Text.ElideRight; Layout.fillWidth: true
                }
                Label {
                    textFormat: Text.PlainText
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
                onClicked: goalsLoader.openPopup()
                Accessible.name: "Goals"
                ToolTip.visible: hovered; ToolTip.text: "Goals of this chat"
                PopupLoader {
                    id: goalsLoader
                    available: pane.session !== null && pane.session.goals !== null
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
                onClicked: connectionsLoader.openPopup()
                Accessible.name: "Connections"
                ToolTip.visible: hovered; ToolTip.text: "E-mail, phone and connected apps"
                PopupLoader {
                    id: connectionsLoader
                    available: pane.session !== null && pane.session.connections !== null
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
                onClicked: loopLoader.openPopup()
                Accessible.name: "Loop settings"
                ToolTip.visible: hovered; ToolTip.text: "Loop mode"
                PopupLoader {
                    id: loopLoader
                    available: pane.session !== null && pane.session.loop !== null
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
                onClicked: teamLoader.openPopup()
                Accessible.name: "Team menu"
                ToolTip.visible: hovered; ToolTip.text: "Team menu"
                background: Rectangle {
                    radius: 6
                    color: teamButton.hovered ? Theme.hover : "transparent"
                    border.width: teamButton.visualFocus ? 2 : 0; border.color: Theme.focusRing
                }
                PopupLoader {
                    id: teamLoader
                    available: pane.session !== null && pane.session.teamMenu !== null
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
                textFormat: Text.PlainText
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
        id: messagesArea
        Layout.fillWidth: true
        Layout.fillHeight: true
        visible: pane.chat !== null

        // One list per kept chat; only the open chat's shows. Going back to a kept chat shows
        // its list as it was, without making its rows' delegates again.
        Repeater {
            id: lists
            model: pane.session ? pane.session.keptRows : []
            onItemAdded: messagesArea.listsMade++
            delegate: MessageList {
                required property int index
                required property var modelData
                anchors.fill: parent
                rowsModel: modelData
                current: pane.session !== null && index === pane.session.rowsSlot
                session: pane.session
                chat: current ? pane.chat : null
                findRow: current ? pane.findRow : -1
            }
        }
        // The open chat's list.
        property int listsMade: 0
        readonly property MessageList messages: listsMade > 0 && pane.session ? lists.itemAt(pane.session.rowsSlot) : null

        AccentButton {
            objectName: "jumpToLatest"
            visible: messagesArea.messages !== null && !messagesArea.messages.atEnd
            anchors { right: parent.right; bottom: parent.bottom; rightMargin: 24; bottomMargin: 12 }
            readonly property int unseen: messagesArea.messages ? messagesArea.messages.unseen : 0
            text: unseen > 0 ? (unseen === 1 ? "1 new message" : unseen + " new messages") : "Jump to latest"
            onClicked: messagesArea.messages.jumpToLatest()
            Accessible.name: text
        }
        Shortcut { sequences: ShortcutCatalog.keys("jumpToLatest"); enabled: pane.chat !== null && messagesArea.messages !== null; onActivated: messagesArea.messages.jumpToLatest() }

        FindBar {
            id: findBar
            find: pane.find
            anchors { top: parent.top; right: parent.right; topMargin: 8; rightMargin: 20 }
            width: Math.min(parent.width - 40, 420)
        }
        Shortcut { sequences: ShortcutCatalog.keys("find"); enabled: pane.chat !== null && pane.visible; onActivated: findBar.open() }
    }

    // Made with the first preview opened, then kept; centred over the conversation. The popup
    // follows the preview's open state itself.
    PopupLoader {
        id: previewLoader
        Layout.preferredHeight: 0
        Connections {
            target: previewLoader.wanted || !pane.session ? null : pane.session.preview
            function onChanged() { if (pane.session.preview.open) previewLoader.wanted = true }
        }
        sourceComponent: ArtifactPreviewPopup {
            parent: pane
            preview: pane.session ? pane.session.preview : null
            session: pane.session
        }
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
                textFormat: Text.PlainText
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
