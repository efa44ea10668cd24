#pragma once
// Accounts and server-side sessions behind the "hx-v2-session" cookie.
#include "core/Http.h"
#include "core/Service.h"

#include <optional>

namespace service {

json userJson(const SqlRow& r);
// The signed-in user's row (id, email, full_name, auth_provider), or nothing.
std::optional<SqlRow> currentUser(Service& s, const httplib::Request& req);
// Like currentUser, but answers 401 itself when there is no session.
std::optional<SqlRow> requireUser(Service& s, const httplib::Request& req, httplib::Response& res);
inline long long userId(const SqlRow& user) { return integer(user[0]); }
void startSession(Service& s, long long userId, httplib::Response& res);
std::string hashPassword(const Service& s, const std::string& password);
// Counts failures per address in a sliding ten-minute window.
bool tooManyAttempts(Service& s, const std::string& addr, bool recordFailure);

} // namespace service
