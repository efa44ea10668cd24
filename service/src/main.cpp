// Entry of the local service: parses flags, opens the store, wires the routes, serves on loopback.
#include "Database.h"
#include "Options.h"

#include <httplib.h>
#include <nlohmann/json.hpp>
#include <openssl/sha.h>
#include <sodium.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <deque>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

using nlohmann::json;

namespace {

constexpr const char* kCookie = "hx-v2-session";
constexpr const char* kDemoEmail = "demo@halvex.local";
constexpr const char* kDemoPassword = "demo-password";

struct Faults {
    std::mutex lock;
    int latencyMs = 0;
    int failCount = 0;
    int failStatus = 500;
    std::string failError = "Injected failure";
    int dropNext = 0;
};

struct Service {
    Options opt;
    std::unique_ptr<Database> db;
    Faults faults;
    std::mutex attemptsLock;
    std::map<std::string, std::deque<std::time_t>> failedSignIns;
    int port = 0;
};

void sendError(httplib::Response& res, int status, const std::string& message)
{
    res.status = status;
    res.set_content(json{{"error", message}}.dump(), "application/json");
}
void sendJson(httplib::Response& res, const json& body, int status = 200)
{
    res.status = status;
    res.set_content(body.dump(), "application/json");
}

std::string hex(const unsigned char* data, size_t n)
{
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}
std::string sha256Hex(const std::string& s)
{
    unsigned char d[SHA256_DIGEST_LENGTH];
    SHA256(reinterpret_cast<const unsigned char*>(s.data()), s.size(), d);
    return hex(d, sizeof d);
}
std::string trim(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}
std::string nowIso()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    char buf[64];
    std::tm tm{};
    gmtime_r(&t, &tm);
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min, tm.tm_sec, int(ms));
    return buf;
}

std::string cookieValue(const httplib::Request& req, const std::string& name)
{
    const std::string header = req.get_header_value("Cookie");
    size_t pos = 0;
    while (pos < header.size()) {
        size_t end = header.find(';', pos);
        if (end == std::string::npos) end = header.size();
        const std::string part = trim(header.substr(pos, end - pos));
        if (part.rfind(name + "=", 0) == 0) return part.substr(name.size() + 1);
        pos = end + 1;
    }
    return {};
}

json userJson(const SqlRow& r)
{
    json u{{"id", std::to_string(integer(r[0]))}, {"email", text(r[1])}, {"email_verified", true},
           {"auth_provider", text(r[3])}, {"avatar_url", nullptr}};
    u["full_name"] = isNull(r[2]) ? json(nullptr) : json(text(r[2]));
    return u;
}

// Returns the signed-in user's row (id, email, full_name, auth_provider), or nothing.
std::optional<SqlRow> currentUser(Service& s, const httplib::Request& req)
{
    const std::string token = cookieValue(req, kCookie);
    if (token.empty()) return std::nullopt;
    const auto rows = s.db->query(
        "SELECT u.id, u.email, u.full_name, u.auth_provider FROM sessions s JOIN users u ON u.id = s.user_id "
        "WHERE s.token_hash = ? AND s.expires_at > ?",
        {sha256Hex(token), static_cast<long long>(std::time(nullptr))});
    if (rows.empty()) return std::nullopt;
    return rows[0];
}

void startSession(Service& s, long long userId, httplib::Response& res)
{
    unsigned char raw[32];
    randombytes_buf(raw, sizeof raw);
    const std::string token = hex(raw, sizeof raw);
    s.db->transaction([&] {
        s.db->execute("INSERT INTO sessions (token_hash, user_id, expires_at) VALUES (?, ?, ?)",
                      {sha256Hex(token), userId, static_cast<long long>(std::time(nullptr)) + 2592000});
    });
    res.set_header("Set-Cookie", std::string(kCookie) + "=" + token + "; HttpOnly; SameSite=Lax; Path=/; Max-Age=2592000");
}

std::optional<json> parseBody(const httplib::Request& req, httplib::Response& res)
{
    json body = json::parse(req.body, nullptr, false);
    if (body.is_discarded() || !body.is_object()) {
        sendError(res, 400, "Invalid JSON body");
        return std::nullopt;
    }
    return body;
}
std::string str(const json& body, const char* key)
{
    const auto it = body.find(key);
    return it != body.end() && it->is_string() ? it->get<std::string>() : std::string();
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

// Counts failures per address in a sliding ten-minute window.
bool tooManyAttempts(Service& s, const std::string& addr, bool recordFailure)
{
    std::lock_guard guard(s.attemptsLock);
    auto& q = s.failedSignIns[addr];
    const std::time_t now = std::time(nullptr);
    while (!q.empty() && now - q.front() > 600) q.pop_front();
    if (recordFailure) q.push_back(now);
    return q.size() >= 6;
}

void addAuthRoutes(httplib::Server& svr, Service& s)
{
    svr.Post("/api/v2/auth/signup", [&](const httplib::Request& req, httplib::Response& res) {
        auto body = parseBody(req, res);
        if (!body) return;
        const std::string email = trim(str(*body, "email"));
        const std::string password = str(*body, "password");
        if (email.empty() || email.find('@') == std::string::npos) return sendError(res, 400, "Enter a valid email address.");
        if (password.size() < 8) return sendError(res, 400, "Password must be at least 8 characters.");
        if (!s.db->query("SELECT id FROM users WHERE lower(email) = lower(?)", {email}).empty())
            return sendError(res, 409, "An account with this email already exists.");
        const std::string name = str(*body, "full_name");
        long long id = 0;
        const std::string hash = hashPassword(s, password);
        s.db->transaction([&] {
            id = s.db->execute("INSERT INTO users (email, password_hash, full_name, time_zone) VALUES (?, ?, ?, ?)",
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
        if (!body) return;
        const std::string email = trim(str(*body, "email"));
        const std::string password = str(*body, "password");
        const auto rows = s.db->query(
            "SELECT id, email, full_name, auth_provider, password_hash FROM users WHERE lower(email) = lower(?)", {email});
        const bool ok = !rows.empty() && !isNull(rows[0][4]) &&
                        crypto_pwhash_str_verify(text(rows[0][4]).c_str(), password.data(), password.size()) == 0;
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
        if (!user) return sendError(res, 401, "Unauthorized");
        sendJson(res, userJson(*user));
    });

    svr.Get("/api/v2/user/profile", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = currentUser(s, req);
        if (!user) return sendError(res, 401, "Unauthorized");
        const auto row = s.db->query("SELECT company_name, website FROM users WHERE id = ?", {integer((*user)[0])});
        sendJson(res, {{"company_name", text(row.at(0)[0])}, {"website", text(row.at(0)[1])}});
    });

    svr.Patch("/api/v2/user/profile", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = currentUser(s, req);
        if (!user) return sendError(res, 401, "Unauthorized");
        auto body = parseBody(req, res);
        if (!body) return;
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

json agent(const std::string& id, const std::string& name, const std::string& group, const std::string& type = "employee",
           const std::string& preset = "", bool orchestrator = false)
{
    return {{"id", id}, {"name", name}, {"description", name + " at work"}, {"avatar_url", nullptr},
            {"agent_type", type}, {"is_employer", false}, {"is_orchestrator", orchestrator},
            {"preset_kind", preset.empty() ? json(nullptr) : json(preset)}, {"status", "active"}, {"pinned", false},
            {"agent_group", group.empty() ? json(nullptr) : json(group)}, {"response_language", nullptr},
            {"behavior_style", nullptr}, {"voice_id", nullptr}, {"openai_voice", nullptr},
            {"llm_model", nullptr}, {"resolved_llm_model", "default"}, {"playbook", nullptr}, {"tools", json::array()}};
}

void seedDemo(Service& s)
{
    if (!s.db->query("SELECT id FROM users WHERE email = ?", {std::string(kDemoEmail)}).empty()) return;
    const std::string hash = hashPassword(s, kDemoPassword);
    s.db->transaction([&] {
        const long long uid = s.db->execute("INSERT INTO users (email, password_hash, full_name) VALUES (?, ?, ?)",
                                            {std::string(kDemoEmail), hash, std::string("Demo User")});
        const json agents[] = {
            agent("a-writer-growth", "writer-growth", "Growth"),
            agent("a-analyst-growth", "analyst-growth", "Growth"),
            agent("a-researcher", "Researcher", "Favourites"),
            agent("a-support", "Support Desk", "Favourites"),
            agent("a-worker", "Nightly Worker", "", "worker"),
            agent("a-model-chat", "Model chat", "", "employee", "model_chat"),
            agent("a-orchestrator-growth", "Growth lead", "Growth", "employee", "", true),
        };
        long long pos = 0;
        for (const auto& a : agents)
            s.db->execute("INSERT INTO agents (id, user_id, position, json) VALUES (?, ?, ?, ?)",
                          {a["id"].get<std::string>(), uid, pos++, a.dump()});
        s.db->execute("INSERT INTO messages (agent_id, role, content, created_at, read) VALUES (?, 'user', ?, ?, 1)",
                      {std::string("a-researcher"), std::string("Find three competitors."), nowIso()});
        s.db->execute("INSERT INTO messages (agent_id, role, content, created_at, read) VALUES (?, 'assistant', ?, ?, 0)",
                      {std::string("a-researcher"), std::string("Got it — here are three."), nowIso()});
        s.db->execute("INSERT INTO messages (agent_id, role, content, created_at, read) VALUES (?, 'assistant', ?, ?, 0)",
                      {std::string("a-writer-growth"), std::string("Draft ready."), nowIso()});
    });
}

std::string teamSlug(const std::string& label)
{
    std::string out;
    bool dash = false;
    for (unsigned char c : label) {
        c = static_cast<unsigned char>(std::tolower(c));
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            if (dash && !out.empty()) out += '-';
            dash = false;
            out += char(c);
        } else dash = true;
    }
    return out;
}

void addAgentRoutes(httplib::Server& svr, Service& s)
{
    svr.Get("/api/v2/custom-agents", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = currentUser(s, req);
        if (!user) return sendError(res, 401, "Unauthorized");
        const auto rows = s.db->query("SELECT json FROM agents WHERE user_id = ? ORDER BY position", {integer((*user)[0])});
        json agents = json::array(), unread = json::object(), orchestratorUnread = json::object();
        for (const auto& r : rows) {
            json a = json::parse(text(r[0]));
            if (a["status"] == "archived" && !a["is_orchestrator"].get<bool>()) continue;
            const auto n = integer(s.db->query("SELECT count(*) FROM messages WHERE agent_id = ? AND role = 'assistant' AND read = 0",
                                               {a["id"].get<std::string>()}).at(0)[0]);
            if (a["is_orchestrator"].get<bool>() && a["agent_group"].is_string())
                orchestratorUnread[teamSlug(a["agent_group"].get<std::string>())] = n;
            else if (n > 0)
                unread[a["id"].get<std::string>()] = n;
            agents.push_back(a);
        }
        json out{{"agents", agents}, {"unread", unread}, {"orchestratorUnread", orchestratorUnread}};
        if (req.has_param("include_activity")) out["activity"] = json::object();
        sendJson(res, out);
    });
}

const char* const kAgentKeys[] = {"name", "description", "avatar_url", "agent_type", "is_employer", "is_orchestrator",
                                  "preset_kind", "status", "pinned", "agent_group", "response_language", "behavior_style",
                                  "voice_id", "openai_voice", "llm_model", "resolved_llm_model", "playbook", "tools"};

void addAgentDetailRoutes(httplib::Server& svr, Service& s)
{
    svr.Get(R"(/api/v2/custom-agents/([A-Za-z0-9_-]+))", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = currentUser(s, req);
        if (!user) return sendError(res, 401, "Unauthorized");
        const auto rows = s.db->query("SELECT json FROM agents WHERE id = ? AND user_id = ?",
                                      {std::string(req.matches[1]), integer((*user)[0])});
        if (rows.empty()) return sendError(res, 404, "Agent not found");
        sendJson(res, json::parse(text(rows[0][0])));
    });
    svr.Patch(R"(/api/v2/custom-agents/([A-Za-z0-9_-]+))", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = currentUser(s, req);
        if (!user) return sendError(res, 401, "Unauthorized");
        auto body = parseBody(req, res);
        if (!body) return;
        json updated;
        bool found = false;
        s.db->transaction([&] {
            const auto rows = s.db->query("SELECT json FROM agents WHERE id = ? AND user_id = ?",
                                          {std::string(req.matches[1]), integer((*user)[0])});
            if (rows.empty()) return;
            found = true;
            updated = json::parse(text(rows[0][0]));
            for (const char* key : kAgentKeys)
                if (body->contains(key)) updated[key] = (*body)[key];
            s.db->execute("UPDATE agents SET json = ? WHERE id = ?", {updated.dump(), std::string(req.matches[1])});
        });
        if (!found) return sendError(res, 404, "Agent not found");
        sendJson(res, updated);
    });
    svr.Post("/api/v2/custom-agents", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = currentUser(s, req);
        if (!user) return sendError(res, 401, "Unauthorized");
        auto body = parseBody(req, res);
        if (!body) return;
        unsigned char raw[8];
        randombytes_buf(raw, sizeof raw);
        const std::string id = "a-" + hex(raw, sizeof raw);
        json a = agent(id, str(*body, "name").empty() ? "Model chat" : str(*body, "name"), "", "employee", "model_chat");
        for (const char* key : kAgentKeys)
            if (body->contains(key) && std::string(key) != "preset_kind") a[key] = (*body)[key];
        s.db->transaction([&] {
            const long long pos = integer(s.db->query("SELECT coalesce(max(position), 0) + 1 FROM agents").at(0)[0]);
            s.db->execute("INSERT INTO agents (id, user_id, position, json) VALUES (?, ?, ?, ?)",
                          {id, integer((*user)[0]), pos, a.dump()});
        });
        sendJson(res, a, 201);
    });
}

void addTestRoutes(httplib::Server& svr, Service& s)
{
    svr.Post("/__test/faults", [&](const httplib::Request& req, httplib::Response& res) {
        auto body = parseBody(req, res);
        if (!body) return;
        std::lock_guard guard(s.faults.lock);
        if (body->contains("latency_ms") && (*body)["latency_ms"].is_number_integer()) s.faults.latencyMs = (*body)["latency_ms"];
        if (body->contains("drop_next") && (*body)["drop_next"].is_number_integer()) s.faults.dropNext = (*body)["drop_next"];
        if (body->contains("fail_next") && (*body)["fail_next"].is_object()) {
            const json& f = (*body)["fail_next"];
            s.faults.failCount = f.value("count", 1);
            s.faults.failStatus = f.value("status", 500);
            s.faults.failError = f.value("error", std::string("Injected failure"));
        }
        if (body->value("expire_sessions", false))
            s.db->transaction([&] { s.db->execute("DELETE FROM sessions"); });
        sendJson(res, {{"ok", true}});
    });
    svr.Delete("/__test/faults", [&](const httplib::Request&, httplib::Response& res) {
        std::lock_guard guard(s.faults.lock);
        s.faults.latencyMs = 0;
        s.faults.failCount = 0;
        s.faults.dropNext = 0;
        sendJson(res, {{"ok", true}});
    });
}

} // namespace

int main(int argc, char** argv)
{
    if (sodium_init() < 0) return 1;
    Service s;
    s.opt = Options::parse(argc, argv);
    std::error_code ec;
    std::filesystem::create_directories(s.opt.dataDir, ec);
    s.db = std::make_unique<Database>(s.opt.dataDir + "/service.sqlite3");

    httplib::Server svr;
    svr.new_task_queue = [] { return new httplib::ThreadPool(32); };
    svr.set_payload_max_length(64 * 1024 * 1024);

    svr.set_pre_routing_handler([&](const httplib::Request& req, httplib::Response& res) {
        const bool testPath = req.path.rfind("/__test/", 0) == 0;
        if (testPath) {
            if (!s.opt.testMode) {
                sendError(res, 404, "Not found");
                return httplib::Server::HandlerResponse::Handled;
            }
            return httplib::Server::HandlerResponse::Unhandled;
        }
        int latency = 0;
        {
            std::lock_guard guard(s.faults.lock);
            latency = s.faults.latencyMs;
            if (s.faults.failCount > 0) {
                --s.faults.failCount;
                sendError(res, s.faults.failStatus, s.faults.failError);
                return httplib::Server::HandlerResponse::Handled;
            }
        }
        if (latency > 0) std::this_thread::sleep_for(std::chrono::milliseconds(latency));
        const bool mutating = req.method == "POST" || req.method == "PUT" || req.method == "PATCH" || req.method == "DELETE";
        if (mutating && req.path.rfind("/api/", 0) == 0) {
            const std::string origin = req.get_header_value("Origin");
            const std::string port = std::to_string(s.port);
            if (origin != "http://127.0.0.1:" + port && origin != "http://localhost:" + port) {
                sendError(res, 403, "CSRF check failed: origin not allowed");
                return httplib::Server::HandlerResponse::Handled;
            }
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    svr.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr ep) {
        std::string what = "Internal error";
        try { std::rethrow_exception(ep); } catch (const std::exception& e) { what = e.what(); } catch (...) {}
        sendError(res, 500, what);
    });
    svr.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (res.body.empty()) sendError(res, res.status, res.status == 404 ? "Not found" : "Request failed");
    });

    addAuthRoutes(svr, s);
    addAgentRoutes(svr, s);
    addAgentDetailRoutes(svr, s);
    if (s.opt.testMode) addTestRoutes(svr, s);
    svr.Get("/appcast.xml", [&](const httplib::Request&, httplib::Response& res) {
        const std::string n = std::to_string(s.opt.advertiseBuild);
        const std::string url = "http://127.0.0.1:" + std::to_string(s.port) + "/downloads/halvex-" + n + ".tar.gz";
        res.set_content("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<rss version=\"2.0\" "
                        "xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">\n<channel>\n"
                        "<title>Halvex</title>\n<item>\n<title>Version 0." + n + ".0</title>\n"
                        "<sparkle:version>" + n + "</sparkle:version>\n<sparkle:shortVersionString>0." + n +
                        ".0</sparkle:shortVersionString>\n<enclosure url=\"" + url +
                        "\" length=\"0\" type=\"application/octet-stream\"/>\n</item>\n</channel>\n</rss>\n",
                        "application/xml");
    });

    if (s.opt.port == 0) s.port = svr.bind_to_any_port("127.0.0.1");
    else s.port = svr.bind_to_port("127.0.0.1", s.opt.port) ? s.opt.port : -1;
    if (s.port <= 0) {
        std::fprintf(stderr, "cannot bind 127.0.0.1:%d\n", s.opt.port);
        return 1;
    }
    std::printf("listening on http://127.0.0.1:%d\n", s.port);
    std::fflush(stdout);
    if (s.opt.seedDemo) {
        seedDemo(s);
        std::printf("demo account: %s %s\n", kDemoEmail, kDemoPassword);
        std::fflush(stdout);
    }
    svr.listen_after_bind();
    return 0;
}
