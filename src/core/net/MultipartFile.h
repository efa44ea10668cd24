#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

namespace halvex {

// One file of a multipart upload.
struct MultipartFile {
    QString field;    // form field name, e.g. "files"
    QString filename; // sent in the part header as it is, without escaping
    QString mime;
    QByteArray data;

    bool operator==(const MultipartFile&) const = default;
};

// The body of a multipart/form-data request: one part per file in order, then the closing line.
QByteArray multipartBody(const QList<MultipartFile>& files, const QString& boundary);

// "HalvBoundary-" and a fresh upper-case UUID.
QString newMultipartBoundary();

} // namespace halvex
