#pragma once
// Applies a team settings change: reviewer, hand-off depth, loop limits, budget, label and the
// smaller switches. Every key is checked before anything is written.
#include "teams/TeamStore.h"

namespace service {

// Runs inside the caller's transaction; the error text when the body is refused.
std::optional<std::string> applyTeamPatch(Service& s, long long uid, Team& team, const json& body);

} // namespace service
