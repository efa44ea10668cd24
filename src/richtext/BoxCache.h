#pragma once
// A thread-safe least-recently-used cache of shared immutable values, bounded by entry count
// and by a total cost the caller assigns to each entry.
#include <QHash>
#include <QString>

#include <list>
#include <memory>
#include <mutex>

namespace halvex {

template <typename T>
class BoxCache {
public:
    using Box = std::shared_ptr<const T>;

    BoxCache(int maxCount, qint64 maxCost) : m_maxCount(maxCount), m_maxCost(maxCost) {}

    Box find(const QString& key)
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_index.find(key);
        if (it == m_index.end())
            return {};
        m_lru.splice(m_lru.begin(), m_lru, *it);
        return (*it)->box;
    }

    void insert(const QString& key, Box box, qint64 cost)
    {
        std::lock_guard lock(m_mutex);
        if (auto it = m_index.find(key); it != m_index.end()) {
            m_cost -= (*it)->cost;
            m_lru.erase(*it);
            m_index.erase(it);
        }
        if (cost > m_maxCost)
            return; // would evict everything and still not fit
        m_lru.push_front({key, std::move(box), cost});
        m_index.insert(key, m_lru.begin());
        m_cost += cost;
        while (!m_lru.empty() && (qsizetype(m_lru.size()) > m_maxCount || m_cost > m_maxCost)) {
            m_cost -= m_lru.back().cost;
            m_index.remove(m_lru.back().key);
            m_lru.pop_back();
        }
    }

    int count() const
    {
        std::lock_guard lock(m_mutex);
        return int(m_lru.size());
    }

    qint64 totalCost() const
    {
        std::lock_guard lock(m_mutex);
        return m_cost;
    }

private:
    struct Entry {
        QString key;
        Box box;
        qint64 cost;
    };

    const int m_maxCount;
    const qint64 m_maxCost;
    mutable std::mutex m_mutex;
    std::list<Entry> m_lru; // front is the most recently used
    QHash<QString, typename std::list<Entry>::iterator> m_index;
    qint64 m_cost = 0;
};

} // namespace halvex
