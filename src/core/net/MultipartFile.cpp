#include "core/net/MultipartFile.h"

#include <QUuid>

namespace halvex {

QByteArray multipartBody(const QList<MultipartFile>& files, const QString& boundary)
{
    const QByteArray b = boundary.toUtf8();
    qsizetype size = b.size() + 8;
    for (const auto& f : files)
        size += f.data.size() + f.field.size() + f.filename.size() + f.mime.size() + b.size() + 96;

    QByteArray body;
    body.reserve(size);
    for (const auto& f : files) {
        body += "--" + b + "\r\n";
        body += "Content-Disposition: form-data; name=\"" + f.field.toUtf8() + "\"; filename=\"" + f.filename.toUtf8()
            + "\"\r\n";
        body += "Content-Type: " + f.mime.toUtf8() + "\r\n\r\n";
        body += f.data;
        body += "\r\n";
    }
    body += "--" + b + "--\r\n";
    return body;
}

QString newMultipartBoundary()
{
    return QStringLiteral("HalvBoundary-") + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

} // namespace halvex
