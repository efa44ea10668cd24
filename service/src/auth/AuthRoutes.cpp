#include "Routes.h"

#include "auth/Sessions.h"
#include "core/Crypto.h"
#include "core/Http.h"

#include <sodium.h>

namespace service {

void addAuthRoutes(httplib::Server& svr, Service& s)
{
    svr.Post("/api/v2/auth/signup", [&](const httplib::Request& req, httplib::Response& res) {
        auto body = parseBody(req, res);
        if (!body)
            return;
        const std::string email = trim(str(*body, "email"));
        const std::string password = str(*body, "password");
        if (email.empty() || email.find('@') == std::string::npos)
            return sendError(res, 400, "Enter a valid email address.");
        if (password.size() < 8)
            return sendError(res, 400, "Password must be at least 8 characters.");
        if (!s.db->query("SELECT id FROM users WHERE lower(email) = lower(?)", {email}).empty())
            return sendError(res, 409, "An account with this email already exists.");
        const std::string name = str(*body, "full_name");
        long long id = 0;
        const std::string hash = hashPassword(s, password);
        s.db->transaction([&] {
            id = s.db->execute(
                "INSERT INTO users (email, password_hash, full_name, time_zone) VALUES (?, ?, ?, ?)",
                {email, hash, name.empty() ? SqlValue(nullptr) : SqlValue(name), str(*body, "time_zone")});
        });
        startSession(s, id, res);
        const auto row = s.db->query("SELECT id, email, full_name, auth_provider FROM users WHERE id = ?", {id});
        sendJson(res, {{"user", userJson(row.at(0))}});
    });

    svr.Post("/api/v2/auth/login", [&](const httplib::Request& req, httplib::Response& res) {
        if (tooManyAttempts(s, req.remote_addr, false))
            return sendError(res, 429, "Too many sign-in attempts — try again in a few minutes.");
        auto body = parseBody(req, res);
        if (!body)
            return;
        const std::string email = trim(str(*body, "email"));
        const std::string password = str(*body, "password");
        const auto rows = s.db->query(
            "SELECT id, email, full_name, auth_provider, password_hash FROM users WHERE lower(email) = lower(?)",
            {email});
        const bool ok = !rows.empty() && !isNull(rows[0][4])
            && crypto_pwhash_str_verify(text(rows[0][4]).c_str(), password.data(), password.size()) == 0;
        if (!ok) {
            if (tooManyAttempts(s, req.remote_addr, true))
                return sendError(res, 429, "Too many sign-in attempts — try again in a few minutes.");
            return sendError(res, 401, "Invalid email or password.");
        }
        startSession(s, integer(rows[0][0]), res);
        sendJson(res, {{"user", userJson(rows[0])}});
    });

    svr.Post("/api/v2/auth/logout", [&](const httplib::Request& req, httplib::Response& res) {
        const std::string token = cookieValue(req, kCookie);
        if (!token.empty())
            s.db->transaction([&] { s.db->execute("DELETE FROM sessions WHERE token_hash = ?", {sha256Hex(token)}); });
        res.set_header("Set-Cookie", std::string(kCookie) + "=; HttpOnly; SameSite=Lax; Path=/; Max-Age=0");
        sendJson(res, {{"ok", true}});
    });

    svr.Get("/api/v2/auth/me", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = currentUser(s, req);
        if (!user)
            return sendError(res, 401, "Unauthorized");
        sendJson(res, userJson(*user));
    });

    svr.Get("/api/v2/user/profile", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = currentUser(s, req);
        if (!user)
            return sendError(res, 401, "Unauthorized");
        const auto row = s.db->query("SELECT company_name, website FROM users WHERE id = ?", {integer((*user)[0])});
        sendJson(res, {{"company_name", text(row.at(0)[0])}, {"website", text(row.at(0)[1])}});
    });

    svr.Patch("/api/v2/user/profile", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = currentUser(s, req);
        if (!user)
            return sendError(res, 401, "Unauthorized");
        auto body = parseBody(req, res);
        if (!body)
            return;
        s.db->transaction([&] {
            for (const char* key : {"company_name", "website"})
                if (body->contains(key) && (*body)[key].is_string())
                    s.db->execute(std::string("UPDATE users SET ") + key + " = ? WHERE id = ?",
                                  {(*body)[key].get<std::string>(), integer((*user)[0])});
        });
        const auto row = s.db->query("SELECT company_name, website FROM users WHERE id = ?", {integer((*user)[0])});
        sendJson(res, {{"company_name", text(row.at(0)[0])}, {"website", text(row.at(0)[1])}});
    });
}

} // namespace service
