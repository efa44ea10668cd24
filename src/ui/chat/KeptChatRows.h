#pragma once
// The rows of the chats opened most recently, each with the message list that shows it. Going
// back to one of them keeps its rows (the new chat's messages are applied as the usual smallest
// edit), so its list keeps its delegates instead of making them all again; a chat not kept takes
// the place of the one used longest ago, which then starts empty.
#include "ui/chat/ChatMessageRows.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

namespace halvex {

class KeptChatRows {
public:
    // How many chats keep their rows and list; each costs a list of delegates while kept.
    static constexpr int capacity = 8;

    KeptChatRows();
    ~KeptChatRows();

    // The place for `chatId`: its own when kept with the same surface, else the one used longest
    // ago, emptied for it.
    int take(const QString& chatId, ChatSurface surface);
    ChatMessageRows& at(int slot) { return *m_slots[size_t(slot)].rows; }
    // Every place's rows, for the lists that show them; the same objects for the session's life.
    QList<QObject*> all() const;
    // Signed out or the chats forgotten: every place empties.
    void clear();
    void setInlineStyle(const InlineStyle& style);

private:
    struct Slot {
        std::unique_ptr<ChatMessageRows> rows;
        QString chatId;
        ChatSurface surface = ChatSurface::solo;
        quint64 lastUsed = 0;
    };
    std::vector<Slot> m_slots;
    quint64 m_uses = 0;
};

} // namespace halvex
