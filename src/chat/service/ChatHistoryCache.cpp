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
    ++m_accessClock;
    Entry entry = m_entries.value(key);
    change(entry);
    entry.lastAccess = m_accessClock;
    m_entries.insert(key, std::move(entry));
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
        if (messages.size() > messageLimit) {
            messages = messages.mid(messages.size() - messageLimit);
            e.messagesWereTrimmed = true;
            e.hasMore = true;
        } else {
            e.messagesWereTrimmed = false;
        }
        e.messages = std::move(messages);
    });
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
