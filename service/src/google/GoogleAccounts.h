#pragma once
// The account a verified provider identity signs in to: found by e-mail, or created.
#include "core/Service.h"

#include <string>

namespace service {

// The user id; a new account has no password and "google" as its provider.
long long signInOrCreateGoogleUser(Service& s, const std::string& email, const std::string& name,
                                   const std::string& timeZone);

} // namespace service
