#pragma once
// The answer of the agent list, with unread counts and the latest activity per agent.
#include "agents/model/Agent.h"
#include "core/json/JsonReader.h"

#include <QList>
#include <QMap>
#include <QString>

#include <optional>

namespace halvex {

struct AgentActivity {
    std::optional<QString> lastMessageAt;
    std::optional<QString> scheduledTaskId;
    std::optional<QString> nextRunAt;

    static AgentActivity decode(const JsonReader& json);
    JSONObject encode() const;
    bool operator==(const AgentActivity&) const = default;
};

struct AgentsListResponse {
    QList<Agent> agents;
    std::optional<QMap<QString, int>> unread;             // per agent id
    std::optional<QMap<QString, int>> orchestratorUnread; // per team conversation
    std::optional<QMap<QString, AgentActivity>> activity; // per agent id

    static AgentsListResponse decode(const JsonReader& json);
    JSONObject encode() const;
    bool operator==(const AgentsListResponse&) const = default;
};

// How a generated agent is started.
struct AgentTrigger {
    std::optional<QString> type;
    std::optional<int> intervalMinutes;

    static AgentTrigger decode(const JsonReader& json);
    JSONObject encode() const;
    bool operator==(const AgentTrigger&) const = default;
};

} // namespace halvex
