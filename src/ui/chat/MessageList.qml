import QtQuick
import QtQuick.Controls
import Halvex.Chat

// A chat's messages. The list stays at the newest line while the reader is there, keeps the
// line being read while older history or regrouped rows arrive, and counts what arrived below
// while the reader is scrolled up.
ListView {
    id: messages
    // The rows this list shows, kept while the chat is among the recent ones.
    required property QtObject rowsModel
    // Whether this is the open chat's list; the others wait hidden.
    property bool current: false
    property ChatSession session: null
    // The open chat, for this list only while it is current.
    property ChatViewModel chat: null
    // The row of the current find match, -1 while nothing is being found.
    property int findRow: -1
    objectName: current ? "messageList" : "keptMessageList"
    visible: current
    clip: true
    model: rowsModel
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
    // A newly opened chat lands on its newest message, a kept one too.
    onCurrentChanged: if (current) jumpToLatest()
    Connections {
        target: messages.session
        function onChatChanged() { if (messages.current) messages.jumpToLatest() }
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
        target: messages.chat
        function onChanged() {
            if (!messages.chat)
                return
            if (messages.chat.isLoadingOlder && messages.olderAnchor < 0) {
                messages.olderAnchor = Math.max(0, messages.indexAt(0, messages.contentY + messages.topMargin))
                messages.countBeforeOlder = messages.count
            } else if (!messages.chat.isLoadingOlder && messages.olderAnchor >= 0) {
                const added = messages.count - messages.countBeforeOlder
                if (added > 0)
                    messages.positionViewAtIndex(messages.olderAnchor + added, ListView.Beginning)
                messages.olderAnchor = -1
            }
        }
    }
    onAtYBeginningChanged: if (atYBeginning && chat && chat.hasMoreHistory && count > 0) session.loadOlder()
    delegate: MessageRow {
        width: Math.min(messages.width - 48, 820)
        x: (messages.width - width) / 2
        session: messages.session
        findCurrent: index === messages.findRow
    }
    // The current find match comes into view; the reader is no longer at the end.
    onFindRowChanged: {
        if (findRow < 0)
            return
        atEnd = false
        positionViewAtIndex(findRow, ListView.Center)
    }
    header: Item {
        width: messages.width
        height: messages.chat && messages.chat.isLoadingOlder ? 32 : 0
        BusyIndicator { anchors.centerIn: parent; running: parent.height > 0; visible: running; implicitWidth: 22; implicitHeight: 22 }
    }
    ScrollBar.vertical: ScrollBar {
        onPressedChanged: if (!pressed) messages.readerMoved()
    }
}
