#pragma once
// Chat messages built from a role, a text and metadata JSON, for the presentation and row tests.
#include "chat/model/ChatMessage.h"
#include "core/json/JsonReader.h"

#include "support/QStringPrinter.h"

#include <QByteArray>
#include <QString>

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
