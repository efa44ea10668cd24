#pragma once
// One step of an agent's playbook, reduced to the one text the client shows. The service sends
// either a bare string or an object; both shapes decode here.
#include "core/json/JSONValue.h"
#include "core/json/JsonReader.h"

#include <QString>

#include <optional>

namespace halvex {

struct PlaybookStep {
    std::optional<QString> name;

    // Longer prompts are cut to this many characters and an ellipsis.
    static constexpr int promptDisplayLimit = 96;

    static PlaybookStep fromJSON(const QJsonValue& value, const QString& path);
    JSONObject encode() const;
    bool operator==(const PlaybookStep&) const = default;
};

template <>
struct JsonCodec<PlaybookStep> {
    static PlaybookStep decode(const QJsonValue& value, const QString& path)
    {
        return PlaybookStep::fromJSON(value, path);
    }
};

} // namespace halvex
