#pragma once
// The MIME type sent with an uploaded file, chosen from its last extension only.
#include <QString>

namespace halvex::MimeType {

QString from(const QString& filename);

} // namespace halvex::MimeType
