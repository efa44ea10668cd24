#include "chat/viewmodel/presentation/PresentationCache.h"

#include <algorithm>

namespace halvex {

PresentationCache::PresentationCache(int maxCount, qint64 maxCost) : m_maxCount(maxCount), m_maxCost(maxCost) {}

PresentationCache& PresentationCache::shared()
{
    static PresentationCache cache;
    return cache;
}

PresentationCache::Shared PresentationCache::find(const QString& key)
{
    std::lock_guard lock(m_mutex);
    const auto it = m_index.constFind(key);
    if (it == m_index.cend())
        return nullptr;
    m_lru.splice(m_lru.begin(), m_lru, *it);
    return (*it)->presentation;
}

void PresentationCache::insert(const QString& key, Shared presentation, qint64 cost)
{
    cost = std::max<qint64>(1, cost);
    std::lock_guard lock(m_mutex);
    if (const auto it = m_index.find(key); it != m_index.end()) {
        m_cost -= (*it)->cost;
        m_lru.erase(*it);
        m_index.erase(it);
    }
    if (cost > m_maxCost)
        return;
    m_lru.push_front(Entry{key, std::move(presentation), cost});
    m_index.insert(key, m_lru.begin());
    m_cost += cost;
    evictOverLimits();
}

void PresentationCache::evictOverLimits()
{
    while (!m_lru.empty() && (qsizetype(m_lru.size()) > m_maxCount || m_cost > m_maxCost)) {
        m_cost -= m_lru.back().cost;
        m_index.remove(m_lru.back().key);
        m_lru.pop_back();
    }
}

PresentationCache::Shared PresentationCache::findLast(const ChatMessage& message, ChatSurface surface) const
{
    std::lock_guard lock(m_mutex);
    if (!m_lastPresentation || surface != m_lastSurface || !message.sharesDataWith(m_lastMessage))
        return nullptr;
    return m_lastPresentation;
}

void PresentationCache::rememberLast(const ChatMessage& message, ChatSurface surface, Shared presentation)
{
    std::lock_guard lock(m_mutex);
    m_lastMessage = message;
    m_lastSurface = surface;
    m_lastPresentation = std::move(presentation);
}

void PresentationCache::clear()
{
    std::lock_guard lock(m_mutex);
    m_lastMessage = ChatMessage();
    m_lastPresentation = nullptr;
    m_lru.clear();
    m_index.clear();
    m_cost = 0;
}

int PresentationCache::count() const
{
    std::lock_guard lock(m_mutex);
    return int(m_lru.size());
}

qint64 PresentationCache::totalCost() const
{
    std::lock_guard lock(m_mutex);
    return m_cost;
}

} // namespace halvex
