#pragma once
// The sites a user took an employee's browser to, so the app can show which web logins the
// employee has: opening a session at an address hands that site over to the user to sign in.
#include "core/Http.h"
#include "core/Service.h"

#include <string>

namespace service {

// The host of an http or https address, lower-cased; empty for anything else.
std::string handoffHost(const std::string& url);
// Remembers the address's site for this user and employee (a later visit updates "at").
void recordHandoff(Service& s, long long uid, const std::string& agentId, const std::string& url);
// The employee's handed-over sites, newest first, as "handoff_sites" entries.
json handoffSites(Service& s, long long uid, const std::string& agentId);

} // namespace service
