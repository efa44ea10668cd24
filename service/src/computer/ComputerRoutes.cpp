// The user's computer for an employee: its state with the live sessions, the browser provider,
// and opening a session; the live view pages the app shows beside the chat.
#include "Routes.h"

#include "agents/AgentStore.h"
#include "auth/Sessions.h"
#include "computer/ComputerHandoffs.h"
#include "computer/ComputerProviders.h"
#include "computer/ComputerRuntime.h"
#include "computer/LivePage.h"
#include "governance/RequestBody.h"
#include "workers/WorkerClock.h"

#include <filesystem>

namespace service {

namespace {

constexpr const char* kLivePath = R"(/computer/live/(cs-[0-9a-f]{24}))";

std::string liveViewUrl(const Service& s, const std::string& sessionId)
{
    return s.origin() + "/computer/live/" + sessionId;
}

json sessionJson(const Service& s, const ComputerRuntime::View& v)
{
    return {{"agent_id", v.agentId},  {"agent_name", v.agentName}, {"live_view_url", liveViewUrl(s, v.id)},
            {"session_kind", v.kind}, {"session_id", v.id},        {"expires_at", workers::isoAt(v.expiresAt)}};
}

json computerState(Service& s, long long uid, const std::string& agentId)
{
    const std::string provider = chosenProvider(s, uid);
    const auto sessions
        = agentId.empty() ? std::vector<ComputerRuntime::View>{} : computerRuntime(s).sessionsOf(uid, agentId);
    json state{{"status",
                !sessions.empty()                                               ? "active"
                    : provider == kLocalChromium && ComputerRuntime::chromium() ? "ready"
                                                                                : "unavailable"},
               {"provider", provider},
               {"byok", false},
               {"providers", computerProviders()},
               {"has_profile", false},
               {"session_active", !sessions.empty()},
               {"use_proxy", false},
               {"agent_sessions", json::array()},
               {"handoff_sites", json::array()}};
    std::error_code ec;
    if (!agentId.empty())
        state["handoff_sites"] = handoffSites(s, uid, agentId);
    if (!agentId.empty())
        state["has_profile"] = std::filesystem::exists(computerRuntime(s).profileDir(uid, agentId), ec);
    for (const auto& v : sessions)
        state["agent_sessions"].push_back(sessionJson(s, v));
    if (!sessions.empty()) {
        const auto& v = sessions.front();
        state["live_view_url"] = liveViewUrl(s, v.id);
        state["session_id"] = v.id;
        state["session_expires_at"] = workers::isoAt(v.expiresAt);
        if (!v.targetId.empty())
            state["target_id"] = v.targetId;
    }
    return {{"ok", true}, {"computer", state}};
}

// The employee's name, or nothing with the 404 sent.
std::optional<std::string> agentName(Service& s, long long uid, const std::string& agentId, httplib::Response& res)
{
    const auto agent = agentId.empty() ? std::nullopt : findAgent(s, uid, agentId);
    if (!agent) {
        sendError(res, 404, "Agent not found");
        return std::nullopt;
    }
    return agent->value("name", std::string("Your employee"));
}

void openSession(Service& s, long long uid, const json& body, httplib::Response& res)
{
    const auto agentId = readText(body, "agent_id", 200, res);
    if (!agentId)
        return;
    const auto url = readText(body, "start_url", 2048, res);
    if (!url)
        return;
    if (!url->empty() && url->rfind("http://", 0) != 0 && url->rfind("https://", 0) != 0)
        return sendError(res, 400, "start_url must be an http or https address");
    const auto name = agentName(s, uid, *agentId, res);
    if (!name)
        return;
    const bool withBrowser = chosenProvider(s, uid) == kLocalChromium && ComputerRuntime::chromium();
    bool reused = false;
    const auto v = computerRuntime(s).open(uid, *agentId, *name, *url, "manual", withBrowser, reused);
    if (!url->empty())
        recordHandoff(s, uid, *agentId, *url);
    json answer{{"ok", true},
                {"reused", reused},
                {"live_view_url", liveViewUrl(s, v.id)},
                {"session_id", v.id},
                {"expires_at", workers::isoAt(v.expiresAt)}};
    if (!v.targetId.empty())
        answer["target_id"] = v.targetId;
    sendJson(res, answer);
}

void postComputer(Service& s, long long uid, const httplib::Request& req, httplib::Response& res)
{
    const auto body = readSmallBody(req, res);
    if (!body)
        return;
    const auto action = readText(*body, "action", 40, res);
    if (!action)
        return;
    if (*action == "open")
        return openSession(s, uid, *body, res);
    if (*action != "set-provider")
        return sendError(res, 400, "action must be \"open\" or \"set-provider\"");
    const auto provider = readText(*body, "provider", 80, res);
    if (!provider)
        return;
    if (!knownProvider(*provider))
        return sendError(res, 400, "Unknown browser provider");
    // A malformed agent id is refused before anything is stored.
    const auto agentId = readText(*body, "agent_id", 200, res);
    if (!agentId)
        return;
    chooseProvider(s, uid, *provider);
    sendJson(res, computerState(s, uid, *agentId));
}

void sendHtml(httplib::Response& res, const std::string& html, int status = 200)
{
    res.status = status;
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_header("Cache-Control", "no-store");
    res.set_header("Content-Security-Policy",
                   "default-src 'none'; img-src 'self'; script-src 'unsafe-inline'; "
                   "style-src 'unsafe-inline'");
    res.set_content(html, "text/html; charset=utf-8");
}

} // namespace

void addComputerRoutes(httplib::Server& svr, Service& s)
{
    computerRuntime(s);
    svr.Get("/api/v2/user/computer", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        const std::string agentId = req.get_param_value("agent_id");
        if (!agentId.empty() && !agentName(s, userId(*user), agentId, res))
            return;
        sendJson(res, computerState(s, userId(*user), agentId));
    });
    svr.Post("/api/v2/user/computer", [&](const httplib::Request& req, httplib::Response& res) {
        if (const auto user = requireUser(s, req, res))
            postComputer(s, userId(*user), req, res);
    });
    // The session id is the capability: the app's web view carries no session cookie.
    svr.Get(kLivePath, [&](const httplib::Request& req, httplib::Response& res) {
        const auto v = computerRuntime(s).find(req.matches[1]);
        if (!v)
            return sendHtml(res, endedPageHtml(), 404);
        sendHtml(res, livePageHtml(v->id, v->agentName, v->unavailable));
    });
    svr.Get(std::string(kLivePath) + "/frame.jpg", [&](const httplib::Request& req, httplib::Response& res) {
        const auto jpeg = computerRuntime(s).frame(req.matches[1]);
        if (!jpeg)
            return sendError(res, 404, "No frame: the session has ended or has no browser");
        res.set_header("Cache-Control", "no-store");
        res.set_content(*jpeg, "image/jpeg");
    });
}

} // namespace service
