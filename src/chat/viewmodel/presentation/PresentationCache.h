#pragma once
// Resolved cards by message key, least recently used out first, bounded by count and by total
// text length. One process-wide instance; lookups from the interface thread, warming from
// background tasks.
#include "chat/model/ChatMessage.h"
#include "chat/viewmodel/presentation/MessagePresentation.h"

#include <QHash>
#include <QString>

#include <list>
#include <memory>
#include <mutex>
#include <optional>

namespace halvex {

class PresentationCache {
public:
    static constexpr int countLimit = 2000;
    static constexpr qint64 costLimit = 8'388'608;

    explicit PresentationCache(int maxCount = countLimit, qint64 maxCost = costLimit);

    static PresentationCache& shared();

    using Shared = std::shared_ptr<const MessagePresentation>;

    Shared find(const QString& key);
    // The cost is the message's text length; an empty text still costs 1.
    void insert(const QString& key, Shared presentation, qint64 cost);
    // The last message resolved, known by its data rather than its key: the rows and then the
    // row's fields ask for the same message in one event, and the key alone costs a count of
    // the text's length and two metadata lookups. clear() forgets it too.
    Shared findLast(const ChatMessage& message, ChatSurface surface) const;
    void rememberLast(const ChatMessage& message, ChatSurface surface, Shared presentation);
    void clear();
    int count() const;
    qint64 totalCost() const;

private:
    struct Entry {
        QString key;
        Shared presentation;
        qint64 cost;
    };
    void evictOverLimits();

    const int m_maxCount;
    const qint64 m_maxCost;
    mutable std::mutex m_mutex;
    std::list<Entry> m_lru; // front is the most recently used
    QHash<QString, std::list<Entry>::iterator> m_index;
    qint64 m_cost = 0;
    ChatMessage m_lastMessage;
    ChatSurface m_lastSurface = ChatSurface::solo;
    Shared m_lastPresentation;
};

} // namespace halvex
