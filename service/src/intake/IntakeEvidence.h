#pragma once
// What the intake read from a website, kept for a week under a token, so that the profile stage
// and the project it creates rest on what the service itself read rather than on what a client
// sends back.
#include "core/Service.h"
#include "intake/IntakeSource.h"

#include <optional>
#include <string>

namespace service::intake {

// Stores the reading and answers its token; older readings are dropped on the way.
std::string storeEvidence(Service& s, long long uid, const IntakeSource& source);
// The user's own reading under `token`, with the token set; nothing when unknown or expired.
std::optional<IntakeSource> findEvidence(Service& s, long long uid, const std::string& token);

} // namespace service::intake
