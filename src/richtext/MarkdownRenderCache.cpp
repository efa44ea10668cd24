#include "richtext/MarkdownRenderCache.h"

#include "richtext/ReportDocumentParser.h"

namespace halvex {

MarkdownRenderCache::MarkdownRenderCache(Parser parser, int maxCount, qint64 maxCost)
    : m_parser(parser ? std::move(parser) : Parser(&ReportDocumentParser::blocks))
    , m_maxCount(maxCount)
    , m_maxCost(maxCost)
{
}

MarkdownRenderCache& MarkdownRenderCache::shared()
{
    static MarkdownRenderCache cache;
    return cache;
}

QString MarkdownRenderCache::keyFor(const MarkdownText& text)
{
    QString key = text.cacheKey
        ? *text.cacheKey
        : (text.style == MarkdownPresentationStyle::report ? QStringLiteral("report|") : QStringLiteral("plain|")) + text.text;
    if (text.readableProse)
        key += QLatin1String("|rp");
    return key;
}

MarkdownRenderCache::BlocksBox MarkdownRenderCache::blocks(const MarkdownText& text)
{
    const QString key = keyFor(text);
    {
        std::lock_guard lock(m_mutex);
        if (auto it = m_index.find(key); it != m_index.end()) {
            m_lru.splice(m_lru.begin(), m_lru, *it);
            return (*it)->blocks;
        }
    }
    // Parse outside the lock so a long text does not stall the interface thread's lookups.
    auto box = std::make_shared<const QList<MDPresentationBlock>>(m_parser(text.text, text.style, text.readableProse));
    const qint64 cost = std::max<qint64>(1, 4 * qint64(text.text.toUtf8().size()));
    std::lock_guard lock(m_mutex);
    if (auto it = m_index.find(key); it != m_index.end()) {
        m_cost -= (*it)->cost;
        m_lru.erase(*it);
        m_index.erase(it);
    }
    if (cost > m_maxCost)
        return box; // would evict everything and still not fit
    m_lru.push_front({key, box, cost});
    m_index.insert(key, m_lru.begin());
    m_cost += cost;
    evictOverLimits();
    return box;
}

void MarkdownRenderCache::evictOverLimits()
{
    while (!m_lru.empty() && (qsizetype(m_lru.size()) > m_maxCount || m_cost > m_maxCost)) {
        m_cost -= m_lru.back().cost;
        m_index.remove(m_lru.back().key);
        m_lru.pop_back();
    }
}

int MarkdownRenderCache::count() const
{
    std::lock_guard lock(m_mutex);
    return int(m_lru.size());
}

qint64 MarkdownRenderCache::totalCost() const
{
    std::lock_guard lock(m_mutex);
    return m_cost;
}

} // namespace halvex
