#pragma once
// A thread-safe least-recently-used cache from text to text, bounded by entry count and by
// total cost; the cost of an entry is twice the UTF-8 size of key plus value, at least 1.
#include <QHash>
#include <QMutex>
#include <QString>

#include <list>
#include <optional>
#include <utility>

namespace halvex {

class LabelCache {
public:
    LabelCache(int maxEntries, qint64 maxCost) : m_maxEntries(maxEntries), m_maxCost(maxCost) {}

    std::optional<QString> find(const QString& key);
    void insert(const QString& key, const QString& value);
    void clear();
    int count() const;
    qint64 totalCost() const;

    static qint64 costOf(const QString& key, const QString& value);

private:
    struct Entry {
        QString key;
        QString value;
        qint64 cost;
    };
    void evictOverflow();

    const int m_maxEntries;
    const qint64 m_maxCost;
    mutable QMutex m_mutex;
    std::list<Entry> m_order; // most recently used first
    QHash<QString, std::list<Entry>::iterator> m_index;
    qint64 m_cost = 0;
};

} // namespace halvex
