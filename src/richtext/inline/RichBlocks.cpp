#include "richtext/inline/RichBlocks.h"

#include "richtext/inline/InlineRenderer.h"

namespace halvex::RichBlocks {

namespace {

QStringList renderAll(const QStringList& texts, const InlineStyle& style, bool listItems)
{
    QStringList out;
    out.reserve(texts.size());
    for (const QString& text : texts)
        out.append(listItems ? InlineRenderer::renderListItem(text, style) : InlineRenderer::render(text, style));
    return out;
}

MDBlock renderBlock(MDBlock block, const InlineStyle& style)
{
    switch (block.kind) {
    case MDBlock::Kind::heading:
    case MDBlock::Kind::paragraph:
    case MDBlock::Kind::quote:
        block.text = InlineRenderer::render(block.text, style);
        break;
    case MDBlock::Kind::bullet:
    case MDBlock::Kind::ordered:
        block.items = renderAll(block.items, style, true);
        break;
    case MDBlock::Kind::table:
        block.items = renderAll(block.items, style, false);
        for (QStringList& row : block.rows)
            row = renderAll(row, style, false);
        break;
    case MDBlock::Kind::code:
    case MDBlock::Kind::olnum:
    case MDBlock::Kind::rule:
        break;
    }
    return block;
}

MDReportGroup renderGroup(MDReportGroup group, const InlineStyle& style)
{
    for (MDReportItem& item : group.items) {
        // Without a title the body is the whole list item, so it reads like one.
        item.body = item.title.isEmpty() ? InlineRenderer::renderListItem(item.body, style)
                                         : InlineRenderer::render(item.body, style);
        item.title = InlineRenderer::render(item.title, style);
    }
    return group;
}

qint64 size(const QStringList& texts)
{
    qint64 total = 0;
    for (const QString& text : texts)
        total += text.size();
    return total;
}

} // namespace

QList<MDPresentationBlock> render(const QList<MDPresentationBlock>& blocks, const InlineStyle& style)
{
    QList<MDPresentationBlock> out;
    out.reserve(blocks.size());
    for (const MDPresentationBlock& block : blocks) {
        if (const MDBlock* b = std::get_if<MDBlock>(&block))
            out.append(renderBlock(*b, style));
        else
            out.append(renderGroup(std::get<MDReportGroup>(block), style));
    }
    return out;
}

qint64 byteSize(const QList<MDPresentationBlock>& blocks)
{
    qint64 chars = 0;
    for (const MDPresentationBlock& block : blocks) {
        if (const MDBlock* b = std::get_if<MDBlock>(&block)) {
            chars += b->text.size() + size(b->items);
            for (const QStringList& row : b->rows)
                chars += size(row);
            continue;
        }
        for (const MDReportItem& item : std::get<MDReportGroup>(block).items) {
            chars += item.title.size() + item.body.size();
            for (const MDReportSource& source : item.sources)
                chars += source.label.size();
        }
    }
    return 2 * chars;
}

} // namespace halvex::RichBlocks
