#include "google/LocalProvider.h"

#include "core/Crypto.h"
#include "google/Jwt.h"

#include <algorithm>
#include <cctype>

namespace service {

using nlohmann::json;

LocalProvider::LocalProvider(std::string issuer) : m_issuer(std::move(issuer)), m_secret(randomHex(32)) {}

std::string LocalProvider::subjectFor(const std::string& email)
{
    std::string lower = email;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return "google-" + sha256Hex(lower).substr(0, 20);
}

std::string LocalProvider::issueIdToken(const AuthorizationGrant& grant, long long now) const
{
    json claims{{"iss", m_issuer},
                {"aud", grant.clientId},
                {"azp", grant.clientId},
                {"sub", subjectFor(grant.email)},
                {"email", grant.email},
                {"email_verified", true},
                {"iat", now},
                {"exp", now + idTokenLifetimeSeconds}};
    if (!grant.nonce.empty())
        claims["nonce"] = grant.nonce;
    if (!grant.name.empty())
        claims["name"] = grant.name;
    return signJwt(claims, m_secret);
}

std::variant<json, std::string> LocalProvider::verifyIdToken(const std::string& token, const std::string& audience,
                                                             long long now) const
{
    auto claims = verifyJwt(token, m_secret);
    if (!claims)
        return std::string("The Google ID token could not be verified.");
    if (claims->value("iss", std::string()) != m_issuer)
        return std::string("The Google ID token has a foreign issuer.");
    if (claims->value("aud", std::string()) != audience)
        return std::string("The Google ID token was issued for another application.");
    const auto exp = claims->find("exp");
    if (exp == claims->end() || !exp->is_number_integer() || exp->get<long long>() <= now)
        return std::string("The Google ID token has expired.");
    if (claims->value("email", std::string()).empty() || claims->value("sub", std::string()).empty())
        return std::string("The Google ID token names no account.");
    return *claims;
}

} // namespace service
