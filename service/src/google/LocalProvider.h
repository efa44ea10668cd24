#pragma once
// The local stand-in for the sign-in provider: it issues authorization codes and signed ID
// tokens and checks them again when they come back. Its signing key lives for one run.
#include "google/AuthorizationCodes.h"

#include <nlohmann/json.hpp>

#include <string>
#include <variant>

namespace service {

class LocalProvider {
public:
    static constexpr long long idTokenLifetimeSeconds = 3600;

    explicit LocalProvider(std::string issuer);

    AuthorizationCodes& codes() { return m_codes; }
    const std::string& issuer() const { return m_issuer; }

    std::string issueIdToken(const AuthorizationGrant& grant, long long now) const;
    // The claims of a token signed here for `audience` and not yet expired, or why it is refused.
    std::variant<nlohmann::json, std::string> verifyIdToken(const std::string& token, const std::string& audience,
                                                            long long now) const;
    // "google-" and a stable hash of the address: the subject the provider names the account by.
    static std::string subjectFor(const std::string& email);

private:
    std::string m_issuer;
    std::string m_secret;
    AuthorizationCodes m_codes;
};

} // namespace service
