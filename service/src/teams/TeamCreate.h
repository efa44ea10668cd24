#pragma once
// Creating a team from the body the create flow composes: its members as employees sharing the
// team's label, and a lead that holds the team conversation, the pipeline and the work profile.
#include "teams/TeamStore.h"

#include <variant>

namespace service {

struct TeamRefusal {
    int status;
    std::string message;
};

// The answer ("group_slug", "label", the roster), or why the team cannot be made. Runs inside
// the caller's transaction.
std::variant<json, TeamRefusal> createTeam(Service& s, long long uid, const json& body);

} // namespace service
