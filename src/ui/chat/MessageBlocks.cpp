#include "ui/chat/MessageBlocks.h"

#include "richtext/ReportDocumentParser.h"

#include <QVariantMap>

namespace halvex {

namespace {

QString kindName(MDBlock::Kind kind)
{
    switch (kind) {
    case MDBlock::Kind::heading:
        return QStringLiteral("heading");
    case MDBlock::Kind::paragraph:
        return QStringLiteral("paragraph");
    case MDBlock::Kind::code:
        return QStringLiteral("code");
    case MDBlock::Kind::bullet:
        return QStringLiteral("bullet");
    case MDBlock::Kind::ordered:
        return QStringLiteral("ordered");
    case MDBlock::Kind::olnum:
        return QStringLiteral("ordered");
    case MDBlock::Kind::quote:
        return QStringLiteral("quote");
    case MDBlock::Kind::table:
        return QStringLiteral("table");
    case MDBlock::Kind::rule:
        return QStringLiteral("rule");
    }
    return QStringLiteral("paragraph");
}

QVariantMap plain(const MDBlock& block)
{
    QVariantMap map{{QStringLiteral("kind"), kindName(block.kind)}};
    switch (block.kind) {
    case MDBlock::Kind::heading:
        map.insert(QStringLiteral("level"), block.level);
        map.insert(QStringLiteral("text"), block.text);
        break;
    case MDBlock::Kind::code:
        // Code is shown and copied verbatim.
        map.insert(QStringLiteral("text"), block.text);
        break;
    case MDBlock::Kind::paragraph:
    case MDBlock::Kind::quote:
        map.insert(QStringLiteral("text"), block.text);
        break;
    case MDBlock::Kind::bullet:
    case MDBlock::Kind::ordered:
        map.insert(QStringLiteral("indent"), block.indent);
        map.insert(QStringLiteral("start"), block.start);
        map.insert(QStringLiteral("items"), block.items);
        break;
    case MDBlock::Kind::olnum:
        // A lone number that starts a list of its own: shown as a one-item list.
        map.insert(QStringLiteral("indent"), 0);
        map.insert(QStringLiteral("start"), block.start);
        map.insert(QStringLiteral("items"), QStringList{QString()});
        break;
    case MDBlock::Kind::table: {
        map.insert(QStringLiteral("header"), block.header());
        QVariantList rows;
        for (const QStringList& row : block.rows)
            rows.append(row);
        map.insert(QStringLiteral("rows"), rows);
        break;
    }
    case MDBlock::Kind::rule:
        break;
    }
    return map;
}

QVariantMap report(const MDReportGroup& group)
{
    QVariantList items;
    for (const MDReportItem& item : group.items) {
        QVariantList sources;
        for (const MDReportSource& source : item.sources)
            sources.append(QVariantMap{{QStringLiteral("label"), source.label},
                                       {QStringLiteral("url"), source.url ? source.url->toString() : QString()}});
        items.append(
            QVariantMap{{QStringLiteral("title"), item.title},
                        {QStringLiteral("body"), item.body},
                        {QStringLiteral("sources"), sources},
                        {QStringLiteral("sourcesTitle"), ReportDocumentParser::sourcesTitle(item.sources.size())}});
    }
    return {{QStringLiteral("kind"), QStringLiteral("report")},
            {QStringLiteral("ordered"), group.kind.ordered},
            {QStringLiteral("start"), group.kind.start},
            {QStringLiteral("items"), items}};
}

} // namespace

QVariantList blocksForQml(const QList<MDPresentationBlock>& blocks)
{
    QVariantList list;
    list.reserve(blocks.size());
    for (const MDPresentationBlock& block : blocks) {
        if (const MDBlock* b = std::get_if<MDBlock>(&block))
            list.append(plain(*b));
        else
            list.append(report(std::get<MDReportGroup>(block)));
    }
    return list;
}

} // namespace halvex
