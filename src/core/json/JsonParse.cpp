#include "core/json/JsonParse.h"

#include "core/APIError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace halvex {

QJsonValue parseJsonDocument(const QByteArray& json)
{
    if (json.trimmed().isEmpty())
        throw APIError::decoding(QStringLiteral("The data couldn’t be read because it is empty."));
    QJsonParseError error{};
    // Qt parses only objects and arrays at the top level; wrap so scalars parse too.
    const char first = json.trimmed().at(0);
    const bool container = first == '{' || first == '[';
    const QJsonDocument doc = QJsonDocument::fromJson(container ? json : "[" + json + "]", &error);
    if (error.error != QJsonParseError::NoError)
        throw APIError::decoding(
            QStringLiteral("The data couldn’t be read because it isn’t in the correct format (%1 at offset %2).")
                .arg(error.errorString())
                .arg(error.offset));
    if (!container)
        return doc.array().at(0);
    return doc.isObject() ? QJsonValue(doc.object()) : QJsonValue(doc.array());
}

} // namespace halvex
