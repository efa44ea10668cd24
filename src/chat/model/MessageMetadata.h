#pragma once
// The free-form metadata of a chat message. The chat reads it only through these accessors;
// a "string" below is a JSON string, every other JSON type counts as absent.
#include "core/json/JSONValue.h"
#include "core/json/JsonReader.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace halvex {

// One file a message links to.
struct AttachmentLink {
    QString name;
    QString url;
    QString kind;
    bool operator==(const AttachmentLink&) const = default;
};

struct MessageMetadata {
    JSONObject raw;

    // A null or anything but an object gives empty metadata.
    static MessageMetadata fromJSON(const JSONValue& value);
    static MessageMetadata decode(const JsonReader& json);

    // First of "tool_id", "name", "tool" that holds a string.
    std::optional<QString> toolIdentifier() const;
    // First of "from", "member_name", "delegate_to" that holds a string; else empty.
    QString stepFrom() const;
    std::optional<QString> memberHandle() const;
    std::optional<QString> browserSessionId() const;
    std::optional<QString> browserLiveURL() const;
    std::optional<QString> goalRunId() const;
    std::optional<QString> generatedImageURL() const;
    std::optional<QString> generatedDocumentURL() const;
    std::optional<QStringList> msgParts() const;
    std::optional<QStringList> starters() const;
    QList<AttachmentLink> attachmentURLs() const;
    bool signalsBrowserActivity() const;

    // The string under `key`, if it is one.
    std::optional<QString> string(const QString& key) const;
    // The string under `key`, only when it is not empty.
    std::optional<QString> nonEmptyString(const QString& key) const;

    bool isEmpty() const { return raw.isEmpty(); }
    bool operator==(const MessageMetadata&) const = default;
};

} // namespace halvex
