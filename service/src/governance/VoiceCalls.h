#pragma once
// The calls an employee placed or took, newest first in its call log.
#include "core/Service.h"

#include <optional>
#include <string>

namespace service {

struct NewCall {
    std::string agentId;
    std::string status; // "completed", "missed", "failed", "in_progress"
    std::string title;
    std::string snippet;
    long long startedAt = 0; // epoch seconds on the service clock
    std::optional<long long> durationSecs;
};

// Stores the call under the caller's transaction; answers its id.
std::string insertCall(Service& s, long long uid, const NewCall& call);

} // namespace service
