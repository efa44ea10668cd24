#include "media/model/DocumentRouter.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace halvex {

namespace DocumentRouter {

namespace {

QString suffixOf(const QString& path)
{
    const QString file = QFileInfo(path).fileName();
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    return dot > 0 && dot + 1 < file.size() ? file.mid(dot + 1).toLower() : QString();
}

} // namespace

const QStringList& quickLookExtensions()
{
    static const QStringList list{
        QStringLiteral("docx"),    QStringLiteral("doc"), QStringLiteral("xlsx"), QStringLiteral("xls"),
        QStringLiteral("pptx"),    QStringLiteral("ppt"), QStringLiteral("key"),  QStringLiteral("pages"),
        QStringLiteral("numbers"), QStringLiteral("csv"), QStringLiteral("tsv"),  QStringLiteral("rtf"),
        QStringLiteral("rtfd"),    QStringLiteral("txt"), QStringLiteral("json"), QStringLiteral("xml"),
        QStringLiteral("yaml"),    QStringLiteral("yml"), QStringLiteral("log"),  QStringLiteral("zip"),
        QStringLiteral("epub"),    QStringLiteral("ics"), QStringLiteral("vcf")};
    return list;
}

std::optional<QString> fileExtension(const std::optional<QString>& name, const std::optional<QUrl>& url)
{
    if (url) {
        if (const QString ext = suffixOf(url->path()); !ext.isEmpty())
            return ext;
    }
    if (name && !name->contains(QLatin1String("://")))
        if (const QString ext = suffixOf(*name); !ext.isEmpty())
            return ext;
    return std::nullopt;
}

DocumentRoute route(const std::optional<QString>& name, const std::optional<QUrl>& url,
                    const std::optional<QString>& mime)
{
    const QString type = mime.value_or(QString()).toLower();
    const QString ext = fileExtension(name, url).value_or(QString());
    if (type.contains(QLatin1String("pdf")) || ext == u"pdf")
        return DocumentRoute::pdf;
    static const QStringList markdown{QStringLiteral("md"), QStringLiteral("markdown"), QStringLiteral("mdown"),
                                      QStringLiteral("mkd")};
    if (type.contains(QLatin1String("markdown")) || type == u"text/x-markdown" || markdown.contains(ext))
        return DocumentRoute::markdown;
    static const QStringList images{QStringLiteral("png"), QStringLiteral("jpg"),  QStringLiteral("jpeg"),
                                    QStringLiteral("gif"), QStringLiteral("webp"), QStringLiteral("heic"),
                                    QStringLiteral("bmp"), QStringLiteral("tiff"), QStringLiteral("svg")};
    if (type.startsWith(QLatin1String("image/")) || images.contains(ext))
        return DocumentRoute::image;
    const QString scheme = url ? url->scheme().toLower() : QString();
    if (!url || (scheme != u"http" && scheme != u"https"))
        return DocumentRoute::unsupported;
    if (quickLookExtensions().contains(suffixOf(url->path())))
        return DocumentRoute::quickLook;
    return DocumentRoute::web;
}

} // namespace DocumentRouter

namespace DocumentCache {

QString safeFileName(const std::optional<QString>& name, const QUrl& url)
{
    QString result = name && !name->isEmpty() ? *name : QFileInfo(url.path()).fileName();
    static const QRegularExpression separators(QStringLiteral("[/\\\\:\\x{0000}]+"));
    result.replace(separators, QStringLiteral("_"));
    result.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    result = result.trimmed();
    // Never "." or "..": those name folders, not files.
    if (result.isEmpty() || result == u"." || result == u"..")
        result = QStringLiteral("document");
    if (!result.contains(QLatin1Char('.')) || result.endsWith(QLatin1Char('.'))) {
        const QString file = QFileInfo(url.path()).fileName();
        const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
        if (dot > 0 && dot + 1 < file.size() && !result.contains(QLatin1Char('.')))
            result += file.mid(dot);
    }
    return result;
}

TooLarge::TooLarge(qint64 bytes)
    : m_description(QStringLiteral("Document is too large to preview (") + QString::number(bytes / 1'048'576)
                    + QStringLiteral(" MB).")),
      m_utf8(m_description.toUtf8())
{}

} // namespace DocumentCache

} // namespace halvex
