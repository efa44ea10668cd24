#include "memory/model/MemoryRecords.h"

namespace halvex {

MemoryNoteItem MemoryNoteItem::decode(const JsonReader& json)
{
    MemoryNoteItem n;
    n.id = json.required<QString>("id");
    n.title = json.lenient<QString>("title");
    n.content = json.lenient<QString>("body").value_or(json.lenient<QString>("content").value_or(QString()));
    n.createdAt = json.lenient<QString>("created_at");
    return n;
}

AgentFileItem AgentFileItem::decode(const JsonReader& json)
{
    return {json.required<QString>("url"), json.lenient<QString>("name"), json.lenient<QString>("kind"),
            json.lenient<QString>("created_at")};
}

AgentSkillItem AgentSkillItem::decode(const JsonReader& json)
{
    return {json.lenient<QString>("skill_id"), json.lenient<QString>("name"), json.lenient<QString>("description"),
            json.lenient<QString>("content"), json.lenient<QString>("source")};
}

AgentTableItem AgentTableItem::decode(const JsonReader& json)
{
    return {json.required<QString>("id"),         json.lenient<QString>("name"),
            json.lenient<QString>("description"), json.lenient<JSONArray>("columns"),
            json.lenient<QString>("updated_at"),  json.lenient<QString>("created_at")};
}

GoalRunItem GoalRunItem::decode(const JsonReader& json)
{
    GoalRunItem r;
    r.id = json.lenient<QString>("id").value_or(json.lenient<QString>("run_id").value_or(QString()));
    r.goalId = json.lenient<QString>("goal_id");
    r.status = json.lenient<QString>("status");
    r.result = json.lenient<QString>("result");
    r.resultUrl = json.lenient<QString>("result_url");
    r.createdAt = json.lenient<QString>("created_at");
    return r;
}

} // namespace halvex
