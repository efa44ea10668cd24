#pragma once
// Changing a team's roster: hiring a member from a one-line brief, member actions (remove,
// pause, resume, archive) and a member's own model.
#include "teams/TeamStore.h"

#include <variant>

namespace service {

// The "member" object of the answer, or the refusal text.
std::variant<json, std::string> addMemberFromBrief(Service& s, long long uid, const Team& team,
                                                   const std::string& brief);
// Nothing on success, else the refusal text; the member must belong to `team`.
std::optional<std::string> changeMember(Service& s, long long uid, const Team& team, const std::string& agentId,
                                        const json& body);

} // namespace service
