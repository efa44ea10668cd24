#include "ui/chat/ArtifactPreview.h"

#include "ui/chat/MessageBlocks.h"

#include "richtext/MarkdownRenderCache.h"

namespace halvex {

ArtifactPreview::ArtifactPreview(ArtifactPreviewModel& model, QObject* parent) : QObject(parent), m_model(model)
{
    connect(&m_model, &ArtifactPreviewModel::changed, this, &ArtifactPreview::changed);
}

QString ArtifactPreview::kind() const
{
    switch (m_model.state()) {
    case ArtifactPreviewModel::State::table:
        return QStringLiteral("table");
    case ArtifactPreviewModel::State::note:
        return QStringLiteral("note");
    default:
        return {};
    }
}

QStringList ArtifactPreview::columns() const
{
    QStringList names;
    if (m_model.table())
        for (const ChatTableColumn& column : m_model.table()->table.columns)
            names << (column.name.isEmpty() ? column.id : column.name);
    return names;
}

QString ArtifactPreview::cellText(const JSONValue& value)
{
    switch (value.kind()) {
    case JSONValue::Kind::string:
        return value.toString();
    case JSONValue::Kind::boolean:
        return value.toBool() ? QStringLiteral("Yes") : QStringLiteral("No");
    case JSONValue::Kind::number:
        return QString::fromUtf8(value.toJson());
    case JSONValue::Kind::object:
    case JSONValue::Kind::array:
        return QString::fromUtf8(value.toJson());
    case JSONValue::Kind::null:
        return {};
    }
    return {};
}

QVariantList ArtifactPreview::rows() const
{
    QVariantList list;
    if (!m_model.table())
        return list;
    const ChatTablePreview& table = *m_model.table();
    for (const ChatTableRow& row : table.rows) {
        QStringList cells;
        for (const ChatTableColumn& column : table.table.columns)
            cells << cellText(row.data.value(column.id));
        list.append(cells);
    }
    return list;
}

QString ArtifactPreview::countText() const
{
    if (!m_model.table())
        return {};
    const qint64 shown = m_model.table()->rows.size();
    const qint64 total = qMax(shown, m_model.table()->total);
    const QString rows = total == 1 ? QStringLiteral(" row") : QStringLiteral(" rows");
    if (shown < total)
        return QString::number(shown) + QStringLiteral(" of ") + QString::number(total) + rows;
    return QString::number(total) + rows;
}

QVariantList ArtifactPreview::noteBlocks() const
{
    if (!m_model.note())
        return {};
    MarkdownText text;
    text.text = m_model.note()->body;
    const MarkdownRenderCache::BlocksBox blocks = MarkdownRenderCache::shared().richBlocks(text, InlineStyle());
    return blocks ? blocksForQml(*blocks) : QVariantList();
}

} // namespace halvex
