#include "agents/model/Agent.h"

#include "core/json/JsonWrite.h"

namespace halvex {

Agent Agent::decode(const JsonReader& json)
{
    Agent a;
    a.id = json.required<QString>("id");
    a.name = json.required<QString>("name");
    a.description = json.optional<QString>("description");
    a.status = json.optional<QString>("status");
    a.pinned = json.optional<bool>("pinned");
    a.playbook = json.optional<QList<PlaybookStep>>("playbook");
    a.tools = json.optional<QList<JSONValue>>("tools");
    a.avatarUrl = json.optional<QString>("avatar_url");
    a.agentType = json.optional<QString>("agent_type");
    a.isEmployer = json.optional<bool>("is_employer");
    a.isOrchestrator = json.optional<bool>("is_orchestrator");
    a.presetKind = json.optional<QString>("preset_kind");
    a.agentGroup = json.optional<QString>("agent_group");
    a.responseLanguage = json.optional<QString>("response_language");
    a.behaviorStyle = json.optional<QString>("behavior_style");
    a.voiceId = json.optional<QString>("voice_id");
    a.openaiVoice = json.optional<QString>("openai_voice");
    a.llmModel = json.optional<QString>("llm_model");
    a.resolvedLlmModel = json.optional<QString>("resolved_llm_model");
    return a;
}

JSONObject Agent::encode() const
{
    JSONObject o;
    o.insert(QStringLiteral("id"), id);
    o.insert(QStringLiteral("name"), name);
    insertIfPresent(o, "description", description);
    insertIfPresent(o, "status", status);
    insertIfPresent(o, "pinned", pinned);
    insertIfPresent(o, "playbook", playbook);
    insertIfPresent(o, "tools", tools);
    insertIfPresent(o, "avatar_url", avatarUrl);
    insertIfPresent(o, "agent_type", agentType);
    insertIfPresent(o, "is_employer", isEmployer);
    insertIfPresent(o, "is_orchestrator", isOrchestrator);
    insertIfPresent(o, "preset_kind", presetKind);
    insertIfPresent(o, "agent_group", agentGroup);
    insertIfPresent(o, "response_language", responseLanguage);
    insertIfPresent(o, "behavior_style", behaviorStyle);
    insertIfPresent(o, "voice_id", voiceId);
    insertIfPresent(o, "openai_voice", openaiVoice);
    insertIfPresent(o, "llm_model", llmModel);
    insertIfPresent(o, "resolved_llm_model", resolvedLlmModel);
    return o;
}

} // namespace halvex
