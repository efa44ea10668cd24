#pragma once
// Parsed blocks per message, so a scrolling chat never parses the same text twice. Thread-safe:
// lookups on the interface thread, warming from background tasks.
#include "richtext/MDReport.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>

namespace halvex {

struct MarkdownText {
    QString text;
    MarkdownPresentationStyle style = MarkdownPresentationStyle::plain;
    std::optional<QString> cacheKey;
    bool readableProse = false;
};

class MarkdownRenderCache {
public:
    using BlocksBox = std::shared_ptr<const QList<MDPresentationBlock>>;
    using Parser = std::function<QList<MDPresentationBlock>(const QString&, MarkdownPresentationStyle, bool)>;

    static constexpr int countLimit = 300;
    static constexpr qint64 costLimit = 12 * 1024 * 1024;

    explicit MarkdownRenderCache(Parser parser = {}, int maxCount = countLimit, qint64 maxCost = costLimit);

    static MarkdownRenderCache& shared();
    static QString keyFor(const MarkdownText& text);

    BlocksBox blocks(const MarkdownText& text);
    int count() const;
    qint64 totalCost() const;

private:
    struct Entry {
        QString key;
        BlocksBox blocks;
        qint64 cost;
    };
    void evictOverLimits();

    Parser m_parser;
    const int m_maxCount;
    const qint64 m_maxCost;
    mutable std::mutex m_mutex;
    std::list<Entry> m_lru; // front is the most recently used
    QHash<QString, std::list<Entry>::iterator> m_index;
    qint64 m_cost = 0;
};

} // namespace halvex
