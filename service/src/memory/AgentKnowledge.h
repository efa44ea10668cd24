#pragma once
// What an employee knows beside its facts and notes: the files of its chat (what the user sent
// and what it produced) and its skills.
#include "core/Http.h"
#include "core/Service.h"

#include <string>

namespace service {

// [{"url", "name", "kind", "mime", "size", "created_at"}], newest first, without removed ones.
json agentFilesJson(Service& s, long long uid, const std::string& agentId);
// Takes the chat file at `url` out of the employee's knowledge; the chat keeps it. False when the
// employee has no such file.
bool removeAgentFile(Service& s, long long uid, const std::string& agentId, const std::string& url);
// [{"skill_id", "name", "description", "content", "source"}]: attached skills, then generated ones.
json agentSkillsJson(const json& agent);

} // namespace service
