#pragma once
// The browser providers a user can choose for their employees' computers, and their choice.
#include "core/Http.h"
#include "core/Service.h"

#include <string>

namespace service {

inline constexpr const char* kLocalChromium = "local-chromium";
inline constexpr const char* kNoProvider = "none";

// Every provider with whether it can be used here.
json computerProviders();
bool knownProvider(const std::string& id);
// The user's choice; Chromium when installed and nothing was chosen, else "none".
std::string chosenProvider(Service& s, long long uid);
void chooseProvider(Service& s, long long uid, const std::string& provider);

} // namespace service
