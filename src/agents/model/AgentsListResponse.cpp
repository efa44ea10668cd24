#include "agents/model/AgentsListResponse.h"

#include "core/json/JsonWrite.h"

namespace halvex {

AgentActivity AgentActivity::decode(const JsonReader& json)
{
    AgentActivity a;
    a.lastMessageAt = json.optional<QString>("last_message_at");
    a.scheduledTaskId = json.optional<QString>("scheduled_task_id");
    a.nextRunAt = json.optional<QString>("next_run_at");
    return a;
}

JSONObject AgentActivity::encode() const
{
    JSONObject o;
    insertIfPresent(o, "last_message_at", lastMessageAt);
    insertIfPresent(o, "scheduled_task_id", scheduledTaskId);
    insertIfPresent(o, "next_run_at", nextRunAt);
    return o;
}

AgentsListResponse AgentsListResponse::decode(const JsonReader& json)
{
    AgentsListResponse r;
    r.agents = json.required<QList<Agent>>("agents");
    r.unread = json.optional<QMap<QString, int>>("unread");
    r.orchestratorUnread = json.optional<QMap<QString, int>>("orchestratorUnread");
    r.activity = json.optional<QMap<QString, AgentActivity>>("activity");
    return r;
}

JSONObject AgentsListResponse::encode() const
{
    JSONObject o;
    o.insert(QStringLiteral("agents"), toJSON(agents));
    insertIfPresent(o, "unread", unread);
    insertIfPresent(o, "orchestratorUnread", orchestratorUnread);
    insertIfPresent(o, "activity", activity);
    return o;
}

AgentTrigger AgentTrigger::decode(const JsonReader& json)
{
    AgentTrigger t;
    t.type = json.optional<QString>("type");
    t.intervalMinutes = json.optional<int>("intervalMinutes");
    return t;
}

JSONObject AgentTrigger::encode() const
{
    JSONObject o;
    insertIfPresent(o, "type", type);
    insertIfPresent(o, "intervalMinutes", intervalMinutes);
    return o;
}

} // namespace halvex
