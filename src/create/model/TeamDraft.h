#pragma once
// What the builder proposes for a team: its mission, how members hand work on, and the members.
#include "create/model/AgentDraft.h"

namespace halvex {

struct TeamMemberDraft {
    std::optional<QString> handle; // usually with a leading "@"
    std::optional<QString> role;
    std::optional<QString> out;        // what the member delivers
    std::optional<QString> boundaries; // what is not the member's job
    std::optional<QString> responseLanguage;
    std::optional<QString> knowledgeBase;
    std::optional<QStringList> knowledgeUrls;
    std::optional<JSONValue> workProfile;
    std::optional<QList<GeneratedSkill>> skills;
    std::optional<QStringList> builtinTools;
    std::optional<QString> systemPrompt;
    std::optional<QStringList> constraints;
    static TeamMemberDraft decode(const JsonReader& json);
};

struct TeamDraft {
    std::optional<QString> mode;
    std::optional<QList<ClarifyQuestion>> questions;
    std::optional<QString> error;
    std::optional<QString> name;
    std::optional<QString> tagline;
    std::optional<QString> summary;
    std::optional<QString> orchestration;
    std::optional<QString> responseLanguage;
    std::optional<JSONValue> teamWorkProfile;
    std::optional<QStringList> tools;
    std::optional<QList<TeamMemberDraft>> members;
    static TeamDraft decode(const JsonReader& json);
};

using TeamGenerateJob = GenerationJob<TeamDraft>;

} // namespace halvex
