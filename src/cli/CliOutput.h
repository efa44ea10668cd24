#pragma once
// What the terminal client prints: lines for people, or one JSON document per line (--json).
#include "chat/model/ChatMessage.h"
#include "core/json/JSONValue.h"

#include <QString>

namespace halvex::cli {

class CliOutput {
public:
    explicit CliOutput(bool json) : m_json(json) {}
    bool isJSON() const { return m_json; }

    void line(const QString& text) const;
    void object(const JSONObject& value) const;
    void error(const QString& text) const;
    // A chat message: a step with its status, or a turn with its text.
    void message(const ChatMessage& message) const;

    static JSONObject messageJSON(const ChatMessage& message);
    static QString stepStatus(const ChatMessage& message);

private:
    bool m_json;
};

} // namespace halvex::cli
