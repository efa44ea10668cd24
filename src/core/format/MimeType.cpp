#include "core/format/MimeType.h"

#include <QHash>

namespace halvex::MimeType {
namespace {

const QHash<QString, QString>& table()
{
    static const QHash<QString, QString> types{
        {QStringLiteral("png"), QStringLiteral("image/png")},
        {QStringLiteral("jpg"), QStringLiteral("image/jpeg")},
        {QStringLiteral("jpeg"), QStringLiteral("image/jpeg")},
        {QStringLiteral("webp"), QStringLiteral("image/webp")},
        {QStringLiteral("gif"), QStringLiteral("image/gif")},
        {QStringLiteral("pdf"), QStringLiteral("application/pdf")},
        {QStringLiteral("json"), QStringLiteral("application/json")},
        {QStringLiteral("csv"), QStringLiteral("text/csv")},
        {QStringLiteral("tsv"), QStringLiteral("text/tab-separated-values")},
        {QStringLiteral("md"), QStringLiteral("text/markdown")},
        {QStringLiteral("markdown"), QStringLiteral("text/markdown")},
        {QStringLiteral("txt"), QStringLiteral("text/plain")},
        {QStringLiteral("log"), QStringLiteral("text/plain")},
        {QStringLiteral("rtf"), QStringLiteral("application/rtf")},
        {QStringLiteral("yaml"), QStringLiteral("application/x-yaml")},
        {QStringLiteral("yml"), QStringLiteral("application/x-yaml")},
        {QStringLiteral("xml"), QStringLiteral("application/xml")},
        {QStringLiteral("html"), QStringLiteral("text/html")},
        {QStringLiteral("htm"), QStringLiteral("text/html")},
        {QStringLiteral("xlsx"), QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet")},
        {QStringLiteral("xls"), QStringLiteral("application/vnd.ms-excel")},
        {QStringLiteral("docx"),
         QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.document")},
    };
    return types;
}

// The extension of the last path component; a leading dot (".env") starts a name, not one.
QString extensionOf(const QString& filename)
{
    const qsizetype slash = filename.lastIndexOf(QLatin1Char('/'));
    const QStringView name = QStringView(filename).mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return {};
    return name.mid(dot + 1).toString().toLower();
}

} // namespace

QString from(const QString& filename)
{
    return table().value(extensionOf(filename), QStringLiteral("application/octet-stream"));
}

} // namespace halvex::MimeType
