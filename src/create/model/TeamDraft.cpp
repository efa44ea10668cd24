#include "create/model/TeamDraft.h"

namespace halvex {

TeamMemberDraft TeamMemberDraft::decode(const JsonReader& json)
{
    TeamMemberDraft m;
    m.handle = json.optional<QString>("handle");
    m.role = json.optional<QString>("role");
    m.out = json.optional<QString>("out");
    m.boundaries = json.optional<QString>("boundaries");
    m.responseLanguage = json.optional<QString>("response_language");
    m.knowledgeBase = json.optional<QString>("knowledge_base");
    m.knowledgeUrls = json.optional<QStringList>("knowledge_urls");
    m.workProfile = json.optional<JSONValue>("work_profile");
    m.skills = json.optional<QList<GeneratedSkill>>("skills");
    m.builtinTools = json.optional<QStringList>("builtin_tools");
    m.systemPrompt = json.optional<QString>("system_prompt");
    m.constraints = json.optional<QStringList>("constraints");
    return m;
}

TeamDraft TeamDraft::decode(const JsonReader& json)
{
    TeamDraft t;
    t.mode = json.optional<QString>("mode");
    t.questions = json.optional<QList<ClarifyQuestion>>("questions");
    t.error = json.optional<QString>("error");
    t.name = json.optional<QString>("name");
    t.tagline = json.optional<QString>("tagline");
    t.summary = json.optional<QString>("summary");
    t.orchestration = json.optional<QString>("orchestration");
    t.responseLanguage = json.optional<QString>("response_language");
    t.teamWorkProfile = json.optional<JSONValue>("team_work_profile");
    t.tools = json.optional<QStringList>("tools");
    t.members = json.optional<QList<TeamMemberDraft>>("members");
    return t;
}

} // namespace halvex
