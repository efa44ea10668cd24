#include "google/ClientRules.h"

#include "google/Jwt.h"

#include <openssl/sha.h>

#include <cctype>

#ifndef HALVEX_GOOGLE_CLIENT_ID
#define HALVEX_GOOGLE_CLIENT_ID "000000000000-halvexlocal.apps.googleusercontent.com"
#endif

namespace service {

bool isInstalledClientId(const std::string& clientId)
{
    const std::string suffix = kInstalledClientSuffix;
    if (clientId.size() <= suffix.size()
        || clientId.compare(clientId.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    const std::string head = clientId.substr(0, clientId.size() - suffix.size());
    const auto dash = head.find('-');
    if (dash == 0 || dash == std::string::npos || dash + 1 == head.size())
        return false;
    for (size_t i = 0; i < head.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(head[i]);
        if (i < dash ? !std::isdigit(c) : (i > dash && !std::isalnum(c)))
            return false;
    }
    return true;
}

std::string redirectUriFor(const std::string& clientId)
{
    const std::string suffix = kInstalledClientSuffix;
    return "com.googleusercontent.apps." + clientId.substr(0, clientId.size() - suffix.size()) + ":/oauth2redirect";
}

bool verifierMatchesChallenge(const std::string& verifier, const std::string& challenge)
{
    // RFC 7636: 43 to 128 characters of the unreserved set.
    if (verifier.size() < 43 || verifier.size() > 128)
        return false;
    for (unsigned char c : verifier)
        if (!std::isalnum(c) && c != '-' && c != '.' && c != '_' && c != '~')
            return false;
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256(reinterpret_cast<const unsigned char*>(verifier.data()), verifier.size(), digest);
    return base64UrlEncode(std::string(reinterpret_cast<const char*>(digest), sizeof digest)) == challenge;
}

std::string serviceClientId() { return HALVEX_GOOGLE_CLIENT_ID; }

} // namespace service
