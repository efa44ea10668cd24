#pragma once
#include "chat/model/ChatMessage.h"
#include "core/json/JsonReader.h"

#include <QByteArray>
#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace halvex::fixtures {

inline ChatMessage message(qint64 id, const char* role, const char* content, const QByteArray& metadataJSON = "{}")
{
    ChatMessage m;
    m.id = id;
    m.role = QString::fromUtf8(role);
    m.content = QString::fromUtf8(content);
    m.metadata = MessageMetadata::fromJSON(JSONValue::parse(metadataJSON));
    return m;
}

inline ChatMessage step(qint64 id, const QByteArray& metadataJSON, const char* content = "")
{
    return message(id, "step", content, metadataJSON);
}

} // namespace halvex::fixtures
