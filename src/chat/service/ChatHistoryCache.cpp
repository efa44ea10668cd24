#include "chat/service/ChatHistoryCache.h"

namespace halvex {

ChatHistoryCache& ChatHistoryCache::shared()
{
    static ChatHistoryCache cache;
    return cache;
}

std::optional<ChatHistoryCache::Entry> ChatHistoryCache::touched(const QString& key)
{
    const auto it = m_entries.find(key);
    if (it == m_entries.end())
        return std::nullopt;
    it->lastAccess = ++m_accessClock;
    return *it;
}

template <typename Change>
void ChatHistoryCache::update(const QString& key, Change change)
{
    // In place: an open chat stores its newest messages on every event it takes.
    ++m_accessClock;
    auto entry = m_entries.find(key);
    if (entry == m_entries.end())
        entry = m_entries.insert(key, Entry{});
    change(*entry);
    entry->lastAccess = m_accessClock;
    if (m_entries.size() > chatLimit) {
        auto oldest = m_entries.begin();
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->lastAccess < oldest->lastAccess)
                oldest = it;
        }
        m_entries.erase(oldest);
    }
}

void ChatHistoryCache::setMessages(const QString& key, QList<ChatMessage> messages)
{
    update(key, [&](Entry& e) {
        e.messages = std::move(messages);
        keepNewest(e);
    });
}

void ChatHistoryCache::appendMessage(const QString& key, const ChatMessage& message)
{
    update(key, [&](Entry& e) {
        if (!e.messages)
            e.messages.emplace();
        e.messages->append(message);
        keepNewest(e);
    });
}

bool ChatHistoryCache::replaceMessage(const QString& key, const ChatMessage& message)
{
    const auto it = m_entries.find(key);
    if (it == m_entries.end() || !it->messages)
        return false;
    QList<ChatMessage>& messages = *it->messages;
    // A changing message is nearly always one of the newest.
    for (qsizetype i = messages.size() - 1; i >= 0; --i) {
        if (messages[i].id != message.id)
            continue;
        messages[i] = message;
        it->messagesStamp = ++m_writes;
        it->lastAccess = ++m_accessClock;
        return true;
    }
    return false;
}

quint64 ChatHistoryCache::messagesStamp(const QString& key) const
{
    const auto it = m_entries.constFind(key);
    return it == m_entries.cend() ? 0 : it->messagesStamp;
}

void ChatHistoryCache::keepNewest(Entry& e)
{
    QList<ChatMessage>& messages = *e.messages;
    if (messages.size() > messageLimit) {
        messages.remove(0, messages.size() - messageLimit);
        e.messagesWereTrimmed = true;
        e.hasMore = true;
    } else {
        e.messagesWereTrimmed = false;
    }
    e.messagesStamp = ++m_writes;
}

void ChatHistoryCache::setHasMore(const QString& key, bool hasMore)
{
    update(key, [&](Entry& e) { e.hasMore = hasMore || e.messagesWereTrimmed; });
}

void ChatHistoryCache::setRoster(const QString& key, QMap<QString, QString> roster)
{
    update(key, [&](Entry& e) { e.roster = std::move(roster); });
}

void ChatHistoryCache::setDetail(const QString& key, Agent detail)
{
    update(key, [&](Entry& e) { e.detail = std::move(detail); });
}

void ChatHistoryCache::clear()
{
    m_entries.clear();
    m_accessClock = 0;
}

} // namespace halvex
