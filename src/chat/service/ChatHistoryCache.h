#pragma once
// The newest messages of the most recently used chats, so that a chat reopens at once. In memory
// only, GUI thread only (no lock). Bounded: 8 chats, 50 messages each.
#include "agents/model/Agent.h"
#include "chat/model/ChatMessage.h"

#include <QList>
#include <QMap>
#include <QString>

#include <optional>

namespace halvex {

class ChatHistoryCache {
public:
    static constexpr int messageLimit = 50;
    static constexpr int chatLimit = 8;

    struct Entry {
        std::optional<QList<ChatMessage>> messages; // ascending ids, the newest at most 50
        std::optional<QMap<QString, QString>> roster;
        std::optional<Agent> detail;
        std::optional<bool> hasMore;
        bool messagesWereTrimmed = false;
        quint64 lastAccess = 0;
        // Moves with every write of the messages; 0 before the first.
        quint64 messagesStamp = 0;
    };

    static ChatHistoryCache& shared();

    // A copy of the entry; reading counts as a use against eviction.
    std::optional<Entry> touched(const QString& key);
    void setMessages(const QString& key, QList<ChatMessage> messages);
    // The same as setMessages of the stored list with `message` after it, without copying the
    // list: an open chat stores every event it takes.
    void appendMessage(const QString& key, const ChatMessage& message);
    // `message` over the stored one with its id, in place; false (nothing written) when the list
    // does not hold it.
    bool replaceMessage(const QString& key, const ChatMessage& message);
    // The stamp of the last write of `key`'s messages (0 if none): a writer that finds its own
    // stamp knows the list is still the one it wrote.
    quint64 messagesStamp(const QString& key) const;
    // A trimmed list always reports more history, whatever the service said.
    void setHasMore(const QString& key, bool hasMore);
    void setRoster(const QString& key, QMap<QString, QString> roster);
    void setDetail(const QString& key, Agent detail);

    int size() const { return int(m_entries.size()); }
    bool contains(const QString& key) const { return m_entries.contains(key); }
    quint64 accessClock() const { return m_accessClock; }
    void clear();

private:
    template <typename Change>
    void update(const QString& key, Change change);
    // Trims the entry's messages to the newest `messageLimit` and stamps the write.
    void keepNewest(Entry& e);

    QMap<QString, Entry> m_entries;
    quint64 m_accessClock = 0;
    quint64 m_writes = 0;
};

} // namespace halvex
