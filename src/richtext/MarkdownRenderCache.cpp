#include "richtext/MarkdownRenderCache.h"

#include "richtext/ReportDocumentParser.h"
#include "richtext/inline/RichBlocks.h"

namespace halvex {

MarkdownRenderCache::MarkdownRenderCache(Parser parser, int maxCount, qint64 maxCost)
    : m_parser(parser ? std::move(parser) : Parser(&ReportDocumentParser::blocks)),
      m_blocks(maxCount, maxCost),
      m_rich(maxCount, maxCost)
{}

MarkdownRenderCache& MarkdownRenderCache::shared()
{
    static MarkdownRenderCache cache;
    return cache;
}

QString MarkdownRenderCache::keyFor(const MarkdownText& text)
{
    QString key = text.cacheKey
        ? *text.cacheKey
        : (text.style == MarkdownPresentationStyle::report ? QStringLiteral("report|") : QStringLiteral("plain|"))
            + text.text;
    if (text.readableProse)
        key += QLatin1String("|rp");
    return key;
}

MarkdownRenderCache::BlocksBox MarkdownRenderCache::blocks(const MarkdownText& text)
{
    const QString key = keyFor(text);
    if (BlocksBox hit = m_blocks.find(key))
        return hit;
    // Parse outside any lock so a long text does not stall the interface thread's lookups.
    auto box = std::make_shared<const QList<MDPresentationBlock>>(m_parser(text.text, text.style, text.readableProse));
    m_blocks.insert(key, box, std::max<qint64>(1, 4 * qint64(text.text.toUtf8().size())));
    return box;
}

MarkdownRenderCache::BlocksBox MarkdownRenderCache::richBlocks(const MarkdownText& text, const InlineStyle& style)
{
    const QString key = keyFor(text) + u'|' + style.cacheKey();
    if (BlocksBox hit = m_rich.find(key))
        return hit;
    auto box = std::make_shared<const QList<MDPresentationBlock>>(RichBlocks::render(*blocks(text), style));
    m_rich.insert(key, box, std::max<qint64>(1, RichBlocks::byteSize(*box)));
    return box;
}

int MarkdownRenderCache::count() const { return m_blocks.count(); }

qint64 MarkdownRenderCache::totalCost() const { return m_blocks.totalCost(); }

} // namespace halvex
