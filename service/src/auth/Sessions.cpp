#include "auth/Sessions.h"

#include "core/Crypto.h"

#include <sodium.h>

#include <stdexcept>

namespace service {

json userJson(const SqlRow& r)
{
    json u{{"id", std::to_string(integer(r[0]))},
           {"email", text(r[1])},
           {"email_verified", true},
           {"auth_provider", text(r[3])},
           {"avatar_url", nullptr}};
    u["full_name"] = isNull(r[2]) ? json(nullptr) : json(text(r[2]));
    return u;
}

std::optional<SqlRow> currentUser(Service& s, const httplib::Request& req)
{
    const std::string token = cookieValue(req, kCookie);
    if (token.empty())
        return std::nullopt;
    const auto rows = s.db->query(
        "SELECT u.id, u.email, u.full_name, u.auth_provider FROM sessions s JOIN users u ON u.id = s.user_id "
        "WHERE s.token_hash = ? AND s.expires_at > ?",
        {sha256Hex(token), static_cast<long long>(std::time(nullptr))});
    if (rows.empty())
        return std::nullopt;
    return rows[0];
}

std::optional<SqlRow> requireUser(Service& s, const httplib::Request& req, httplib::Response& res)
{
    auto user = currentUser(s, req);
    if (!user)
        sendError(res, 401, "Unauthorized");
    return user;
}

void startSession(Service& s, long long userId, httplib::Response& res)
{
    const std::string token = randomHex(32);
    s.db->transaction([&] {
        s.db->execute("INSERT INTO sessions (token_hash, user_id, expires_at) VALUES (?, ?, ?)",
                      {sha256Hex(token), userId, static_cast<long long>(std::time(nullptr)) + 2592000});
    });
    res.set_header("Set-Cookie",
                   std::string(kCookie) + "=" + token + "; HttpOnly; SameSite=Lax; Path=/; Max-Age=2592000");
}

std::string hashPassword(const Service& s, const std::string& password)
{
    char out[crypto_pwhash_STRBYTES];
    const auto ops = s.opt.fastHash ? crypto_pwhash_OPSLIMIT_INTERACTIVE : crypto_pwhash_OPSLIMIT_MODERATE;
    const auto mem = s.opt.fastHash ? crypto_pwhash_MEMLIMIT_INTERACTIVE : crypto_pwhash_MEMLIMIT_MODERATE;
    if (crypto_pwhash_str(out, password.data(), password.size(), ops, mem) != 0)
        throw std::runtime_error("password hashing failed");
    return out;
}

bool tooManyAttempts(Service& s, const std::string& addr, bool recordFailure)
{
    std::lock_guard guard(s.attemptsLock);
    auto& q = s.failedSignIns[addr];
    const std::time_t now = std::time(nullptr);
    while (!q.empty() && now - q.front() > 600)
        q.pop_front();
    if (recordFailure)
        q.push_back(now);
    return q.size() >= 6;
}

} // namespace service
