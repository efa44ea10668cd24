#pragma once
#include <QByteArray>
#include <QJsonValue>

namespace halvex {

// Parses a whole JSON text (any top-level value). Throws APIError::decoding with the parser's
// reason for invalid JSON, invalid UTF-8, an empty body or a nesting bomb.
QJsonValue parseJsonDocument(const QByteArray& json);

} // namespace halvex
