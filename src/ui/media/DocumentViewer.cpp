#include "ui/media/DocumentViewer.h"

#include "ui/chat/MessageBlocks.h"

#include "richtext/MarkdownRenderCache.h"

namespace halvex {

DocumentViewer::DocumentViewer(APIClient& api, DocumentPreviewModel::DesktopOpener desktop, QObject* parent)
    : QObject(parent),
      m_model(api, std::move(desktop))
{
    connect(&m_model, &DocumentPreviewModel::changed, this, &DocumentViewer::changed);
    connect(&m_model, &DocumentPreviewModel::unauthorized, this, &DocumentViewer::unauthorized);
}

QString DocumentViewer::kind() const
{
    using State = DocumentPreviewModel::State;
    switch (m_model.state()) {
    case State::pdf:
        return QStringLiteral("pdf");
    case State::markdown:
        return QStringLiteral("markdown");
    case State::image:
        return QStringLiteral("image");
    case State::text:
        return QStringLiteral("text");
    case State::table:
        return QStringLiteral("table");
    case State::external:
        return QStringLiteral("external");
    case State::failed:
        return QStringLiteral("failed");
    case State::closed:
    case State::loading:
        break;
    }
    return {};
}

QUrl DocumentViewer::file() const
{
    return m_model.localFile().isEmpty() ? QUrl() : QUrl::fromLocalFile(m_model.localFile());
}

QVariantList DocumentViewer::markdownBlocks() const
{
    if (m_model.state() != DocumentPreviewModel::State::markdown)
        return {};
    MarkdownText text;
    text.text = m_model.text();
    const MarkdownRenderCache::BlocksBox blocks = MarkdownRenderCache::shared().richBlocks(text, InlineStyle());
    return blocks ? blocksForQml(*blocks) : QVariantList();
}

QVariantList DocumentViewer::rows() const
{
    QVariantList out;
    out.reserve(m_model.table().rows.size());
    for (const QStringList& row : m_model.table().rows)
        out << QVariant(row);
    return out;
}

void DocumentViewer::show(const QUrl& url, const QString& name, const QString& mime)
{
    m_model.open(name.isEmpty() ? std::nullopt : std::optional<QString>(name), url,
                 mime.isEmpty() ? std::nullopt : std::optional<QString>(mime));
}

} // namespace halvex
