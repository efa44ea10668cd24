#include "media/viewmodel/DocumentPreviewModel.h"

#include "core/async/Failure.h"
#include "media/service/DocumentCache.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QtConcurrent/QtConcurrentRun>

#include <qcorofuture.h>

namespace halvex {

namespace {

struct Preview {
    QString text;
    DelimitedTable table;
    QString notice;
};

QString grouped(qsizetype n) { return QLocale(QLocale::English).toString(qlonglong(n)); }

// Runs on a worker thread: the file is at most the cache's 25 MiB, but splitting that into rows
// or laying it into a text view is not work for the interface thread.
Preview readPreviewFile(const QString& path, const QString& extension)
{
    Preview preview;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return preview;
    // Invalid UTF-8 turns into replacement characters rather than failing the preview.
    const QString text = QString::fromUtf8(file.readAll());
    if (extension == u"csv" || extension == u"tsv") {
        const QChar separator = extension == u"tsv" ? u'\t' : u',';
        preview.table = DelimitedText::parse(text, separator, DocumentPreviewModel::maxPreviewRows);
        if (preview.table.totalRows > preview.table.rows.size())
            preview.notice = QStringLiteral("Showing the first %1 of %2 rows.")
                                 .arg(grouped(preview.table.rows.size()), grouped(preview.table.totalRows));
        return preview;
    }
    preview.text = text.left(DocumentPreviewModel::maxPreviewCharacters);
    if (text.size() > preview.text.size())
        preview.notice = QStringLiteral("Showing the first %1 characters.")
                             .arg(grouped(DocumentPreviewModel::maxPreviewCharacters));
    return preview;
}

QString titleFor(const std::optional<QString>& name, const QUrl& url)
{
    if (name && !name->trimmed().isEmpty())
        return name->trimmed();
    const QString last = url.fileName();
    return last.isEmpty() ? url.host() : last;
}

} // namespace

DocumentPreviewModel::DocumentPreviewModel(APIClient& api, DesktopOpener desktop, QObject* parent)
    : QObject(parent),
      m_api(api),
      m_desktop(std::move(desktop))
{}

bool DocumentPreviewModel::previewsAsText(const QString& extension)
{
    static const QStringList formats{QStringLiteral("csv"), QStringLiteral("tsv"),  QStringLiteral("json"),
                                     QStringLiteral("xml"), QStringLiteral("yaml"), QStringLiteral("yml"),
                                     QStringLiteral("log"), QStringLiteral("txt")};
    return formats.contains(extension);
}

QCoro::Task<void> DocumentPreviewModel::open(std::optional<QString> name, QUrl url, std::optional<QString> mime)
{
    const QString extension = DocumentRouter::fileExtension(name, url).value_or(QString());
    DocumentRoute route = DocumentRouter::route(name, url, mime);
    // The router reads only the address for office formats; a download address often has no
    // extension, and then the file's own name says what it is.
    if (route == DocumentRoute::web && name && DocumentRouter::quickLookExtensions().contains(extension))
        route = DocumentRoute::quickLook;
    if (route == DocumentRoute::web) {
        m_load.cancel();
        m_desktop(url);
        co_return;
    }
    CancelToken token = m_load.next();
    m_title = titleFor(name, url);
    m_localFile.clear();
    m_text.clear();
    m_table = {};
    m_notice.clear();
    m_error.clear();
    if (route == DocumentRoute::unsupported) {
        fail(QStringLiteral("This document has no web address the app can open."));
        co_return;
    }
    setState(State::loading);
    try {
        const QString path = co_await DocumentCache::fetch(m_api, name, url, token);
        if (token.isCancelled())
            co_return;
        m_localFile = path;
        switch (route) {
        case DocumentRoute::pdf:
            setState(State::pdf);
            break;
        case DocumentRoute::image:
            setState(State::image);
            break;
        case DocumentRoute::markdown:
            co_await readPreview(path, QStringLiteral("md"), token);
            break;
        default:
            if (previewsAsText(extension))
                co_await readPreview(path, extension, token);
            else if (openWithDesktop())
                setState(State::external);
            else
                fail(QStringLiteral("No application on this computer opens “%1”.").arg(m_title));
        }
    } catch (...) {
        const auto error = std::current_exception();
        if (token.isCancelled())
            co_return;
        if (const auto text = Failure::shown(error, [this] { Q_EMIT unauthorized(); }))
            fail(*text);
        else
            setState(State::closed);
    }
}

QCoro::Task<void> DocumentPreviewModel::readPreview(QString path, QString extension, CancelToken token)
{
    Preview preview = co_await QtConcurrent::run(readPreviewFile, path, extension);
    if (token.isCancelled())
        co_return;
    m_text = std::move(preview.text);
    m_table = std::move(preview.table);
    m_notice = std::move(preview.notice);
    const bool table = extension == u"csv" || extension == u"tsv";
    setState(extension == u"md" ? State::markdown : table ? State::table : State::text);
}

bool DocumentPreviewModel::openWithDesktop()
{
    return !m_localFile.isEmpty() && QFileInfo::exists(m_localFile) && m_desktop(QUrl::fromLocalFile(m_localFile));
}

void DocumentPreviewModel::close()
{
    m_load.cancel();
    setState(State::closed);
}

void DocumentPreviewModel::fail(const QString& text)
{
    m_error = text;
    setState(State::failed);
}

void DocumentPreviewModel::setState(State state)
{
    m_state = state;
    Q_EMIT changed();
}

} // namespace halvex
