#pragma once
// The rows of one open chat, kept between moves of `messagesVersion`. Streaming changes the end
// of a long list, so only the turns from the first changed message on are grouped again; rows
// never span a user message, which is where the kept rows end. The result always equals
// `rows(messages, surface)` of the whole list.
#include "chat/model/ChatMessage.h"
#include "chat/viewmodel/grouping/ChatRowBuilder.h"
#include "chat/viewmodel/grouping/ChatRowItem.h"
#include "chat/viewmodel/presentation/MessagePresentation.h"

#include <QHash>
#include <QList>

#include <vector>

namespace halvex::ChatStepGrouping {

class IncrementalChatRows {
public:
    explicit IncrementalChatRows(ChatSurface surface = ChatSurface::solo) : m_surface(surface) {}

    // Another chat or surface: nothing is kept.
    void reset(ChatSurface surface);
    // `unchangedBefore` leading messages are known to be those of the last update (the view
    // model's `unchangedSince`), so the scan for the first change starts after them.
    const QList<ChatRowItem>& update(const QList<ChatMessage>& messages, qsizetype unchangedBefore = 0);
    const QList<ChatRowItem>& rows() const { return m_rows; }
    // Rows before this one are the very rows of the update before (the kept ones).
    qsizetype keptRows() const { return m_keptRows; }

private:
    // A user message that begins a row: everything before it can stay.
    struct Cut {
        qsizetype message;
        qsizetype row;
    };

    void rebuildFrom(const QList<ChatMessage>& messages, qsizetype from);
    // Moves the id counts from the kept messages at `from` on to `messages`' from there on.
    void recountIds(const QList<ChatMessage>& messages, qsizetype from);
    void countId(qint64 id, int delta);

    ChatSurface m_surface;
    QList<ChatMessage> m_messages;
    QList<ChatRowItem> m_rows;
    std::vector<Cut> m_cuts;
    // The regrouped turn's messages as classified last time: of a growing turn only the new
    // message is looked up.
    RowClassifications m_classified;
    // How often each id occurs: repeated ids number their rows across the whole list, so any
    // repeat makes the next update group everything.
    QHash<qint64, int> m_idCounts;
    int m_repeats = 0;
    qsizetype m_keptRows = 0;
};

} // namespace halvex::ChatStepGrouping
