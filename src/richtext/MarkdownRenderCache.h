#pragma once
// Parsed blocks per message, so a scrolling chat never parses the same text twice, and the same
// blocks rendered to rich text per inline style, so it never renders them twice either.
// Thread-safe: lookups on the interface thread, warming from background tasks.
#include "richtext/BoxCache.h"
#include "richtext/MDReport.h"
#include "richtext/inline/InlineStyle.h"

#include <QList>
#include <QString>

#include <functional>
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
    // The blocks with their text fields in rich text (see RichBlocks), for this inline style.
    BlocksBox richBlocks(const MarkdownText& text, const InlineStyle& style);

    // The parsed layer only.
    int count() const;
    qint64 totalCost() const;

private:
    Parser m_parser;
    BoxCache<QList<MDPresentationBlock>> m_blocks;
    BoxCache<QList<MDPresentationBlock>> m_rich;
};

} // namespace halvex
