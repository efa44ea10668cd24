#include "core/format/LabelCache.h"

#include <QMutexLocker>

#include <algorithm>

namespace halvex {

qint64 LabelCache::costOf(const QString& key, const QString& value)
{
    return std::max<qint64>(1, 2 * (key.toUtf8().size() + value.toUtf8().size()));
}

std::optional<QString> LabelCache::find(const QString& key)
{
    QMutexLocker lock(&m_mutex);
    const auto it = m_index.constFind(key);
    if (it == m_index.cend())
        return std::nullopt;
    m_order.splice(m_order.begin(), m_order, *it);
    return (*it)->value;
}

void LabelCache::insert(const QString& key, const QString& value)
{
    const qint64 cost = costOf(key, value);
    QMutexLocker lock(&m_mutex);
    if (const auto it = m_index.find(key); it != m_index.end()) {
        m_cost -= (*it)->cost;
        m_order.erase(*it);
        m_index.erase(it);
    }
    if (cost > m_maxCost)
        return;
    m_order.push_front(Entry{key, value, cost});
    m_index.insert(key, m_order.begin());
    m_cost += cost;
    evictOverflow();
}

void LabelCache::evictOverflow()
{
    while (!m_order.empty() && (int(m_order.size()) > m_maxEntries || m_cost > m_maxCost)) {
        const Entry& oldest = m_order.back();
        m_cost -= oldest.cost;
        m_index.remove(oldest.key);
        m_order.pop_back();
    }
}

void LabelCache::clear()
{
    QMutexLocker lock(&m_mutex);
    m_order.clear();
    m_index.clear();
    m_cost = 0;
}

int LabelCache::count() const
{
    QMutexLocker lock(&m_mutex);
    return int(m_order.size());
}

qint64 LabelCache::totalCost() const
{
    QMutexLocker lock(&m_mutex);
    return m_cost;
}

} // namespace halvex
