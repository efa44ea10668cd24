#pragma once
// What the local provider accepts as an installed-application client, where such a client's
// browser redirect must go, and the PKCE S256 check.
#include <string>

namespace service {

inline constexpr const char* kInstalledClientSuffix = ".apps.googleusercontent.com";

// "<digits>-<key>.apps.googleusercontent.com" with a non-empty key of letters and digits.
bool isInstalledClientId(const std::string& clientId);
// "com.googleusercontent.apps.<digits>-<key>:/oauth2redirect": the only redirect such a client may use.
std::string redirectUriFor(const std::string& clientId);
bool verifierMatchesChallenge(const std::string& verifier, const std::string& challenge);
// The client the service itself signs users in for: ID tokens for any other audience are refused.
std::string serviceClientId();

} // namespace service
