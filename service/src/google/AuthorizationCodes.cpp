#include "google/AuthorizationCodes.h"

#include "core/Crypto.h"

namespace service {

namespace {
// Spent and expired codes are kept this long, so a replay is told "already used", not "unknown".
constexpr long long kRememberSeconds = 600;
} // namespace

std::string AuthorizationCodes::issue(AuthorizationGrant grant, long long now)
{
    const std::string code = "hxc-" + randomHex(24);
    grant.expiresAt = now + lifetimeSeconds;
    grant.used = false;
    std::lock_guard guard(m_lock);
    forgetOld(now);
    m_codes[code] = std::move(grant);
    return code;
}

std::variant<AuthorizationGrant, CodeRefusal> AuthorizationCodes::redeem(const std::string& code, long long now)
{
    std::lock_guard guard(m_lock);
    const auto it = m_codes.find(code);
    if (it == m_codes.end())
        return CodeRefusal::unknown;
    if (it->second.used)
        return CodeRefusal::used;
    it->second.used = true;
    if (now >= it->second.expiresAt)
        return CodeRefusal::expired;
    return it->second;
}

void AuthorizationCodes::forgetOld(long long now)
{
    for (auto it = m_codes.begin(); it != m_codes.end();) {
        if (now - it->second.expiresAt > kRememberSeconds)
            it = m_codes.erase(it);
        else
            ++it;
    }
}

} // namespace service
