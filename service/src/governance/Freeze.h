#pragma once
// A frozen employee (a status other than "active") starts no new work: its chat answers at once
// with how to resume it.
#include "core/Service.h"

#include <optional>
#include <string>

namespace service {

// The answer a frozen employee's chat gives, or nothing when it may work. `agentId` may name no
// employee (a team without a lead), which never freezes.
std::optional<std::string> frozenNotice(Service& s, long long uid, const std::string& agentId);

} // namespace service
