#pragma once
// Authorization codes of the local sign-in provider: short-lived, single-use, bound to the
// client, redirect address and PKCE challenge of the request that earned them.
#include <map>
#include <mutex>
#include <string>
#include <variant>

namespace service {

struct AuthorizationGrant {
    std::string clientId;
    std::string redirectUri;
    std::string codeChallenge;
    std::string nonce;
    std::string email;
    std::string name;
    long long expiresAt = 0;
    bool used = false;
};

enum class CodeRefusal { unknown, used, expired };

class AuthorizationCodes {
public:
    static constexpr long long lifetimeSeconds = 60;

    std::string issue(AuthorizationGrant grant, long long now);
    // Any redemption spends the code, so a guessed verifier gets one try only.
    std::variant<AuthorizationGrant, CodeRefusal> redeem(const std::string& code, long long now);

private:
    void forgetOld(long long now);
    std::mutex m_lock;
    std::map<std::string, AuthorizationGrant> m_codes;
};

} // namespace service
