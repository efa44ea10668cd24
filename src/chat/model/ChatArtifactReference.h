#pragma once
// Points at one thing a message produced (a file, a page, a report); built from message
// metadata by presentation and opened by the artifact handling.
#include "core/json/JSONValue.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace halvex {

struct ChatArtifactReference {
    QString type;
    QString name;
    std::optional<QUrl> url;
    std::optional<QString> workspaceID;
    std::optional<QString> ownerAgentID;
    JSONObject payload; // the remaining artifact fields

    bool operator==(const ChatArtifactReference&) const = default;
};

} // namespace halvex
