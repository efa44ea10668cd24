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

enum class CallEnd { ended, alreadyEnded, notFound };
// Closes the user's call that is still "in_progress" as "completed" at `endedAt` (service
// clock), with `snippet` when it is not empty. A call is ended once; later ends change nothing.
CallEnd endCall(Service& s, long long uid, const std::string& callId, long long endedAt, const std::string& snippet);

} // namespace service
