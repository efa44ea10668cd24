// Employees: the list with unread counts and activity, one record, model-chat creation, patches.
#include "Routes.h"

#include "agents/AgentJson.h"
#include "core/Crypto.h"
#include "core/Http.h"
#include "core/Slug.h"
#include "auth/Sessions.h"

#include <map>

namespace service {

namespace {

constexpr const char* kAgentPath = R"(/api/v2/custom-agents/([A-Za-z0-9_-]+))";

std::map<std::string, long long> unreadByAgent(Service& s, long long uid)
{
    std::map<std::string, long long> out;
    const auto rows = s.db->query(
        "SELECT m.agent_id, count(*) FROM messages m JOIN agents a ON a.id = m.agent_id "
        "WHERE a.user_id = ? AND m.role = 'assistant' AND m.read = 0 GROUP BY m.agent_id", {uid});
    for (const auto& r : rows) out[text(r[0])] = integer(r[1]);
    return out;
}

std::map<std::string, std::string> lastMessageByAgent(Service& s, long long uid)
{
    std::map<std::string, std::string> out;
    const auto rows = s.db->query("SELECT m.agent_id, max(m.created_at) FROM messages m JOIN agents a ON a.id = m.agent_id "
                                  "WHERE a.user_id = ? GROUP BY m.agent_id", {uid});
    for (const auto& r : rows) out[text(r[0])] = text(r[1]);
    return out;
}

std::optional<json> storedAgent(Service& s, const std::string& id, long long uid)
{
    const auto rows = s.db->query("SELECT json FROM agents WHERE id = ? AND user_id = ?", {id, uid});
    if (rows.empty()) return std::nullopt;
    json a = json::parse(text(rows[0][0]), nullptr, false);
    if (!a.is_object()) return std::nullopt;
    return a;
}

json listAnswer(Service& s, long long uid, bool withActivity)
{
    const auto unread = unreadByAgent(s, uid);
    const auto rows = s.db->query("SELECT json FROM agents WHERE user_id = ? ORDER BY position", {uid});
    json agents = json::array(), unreadOut = json::object(), teamUnread = json::object();
    for (const auto& r : rows) {
        json a = json::parse(text(r[0]), nullptr, false);
        if (!a.is_object() || !a.contains("id")) continue;
        const bool orchestrator = flagOf(a, "is_orchestrator");
        // Archived employees leave the list; the orchestrator stays whatever its status.
        if (textOf(a, "status") == "archived" && !orchestrator) continue;
        const std::string id = textOf(a, "id");
        const auto n = unread.count(id) ? unread.at(id) : 0;
        const std::string group = textOf(a, "agent_group");
        // A team's conversation is its orchestrator's: its count is the team's, not an employee's.
        if (orchestrator && !group.empty()) teamUnread[groupSlug(group)] = n;
        else if (n > 0) unreadOut[id] = n;
        agents.push_back(std::move(a));
    }
    json out{{"agents", agents}, {"unread", unreadOut}, {"orchestratorUnread", teamUnread}};
    if (withActivity) {
        json activity = json::object();
        for (const auto& [id, at] : lastMessageByAgent(s, uid)) activity[id] = {{"last_message_at", at}};
        out["activity"] = activity;
    }
    return out;
}

} // namespace

void addAgentRoutes(httplib::Server& svr, Service& s)
{
    svr.Get("/api/v2/custom-agents", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user) return;
        sendJson(res, listAnswer(s, userId(*user), req.get_param_value("include_activity") == "1"));
    });

    svr.Get(kAgentPath, [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user) return;
        const auto agent = storedAgent(s, req.matches[1], userId(*user));
        if (!agent) return sendError(res, 404, "Agent not found");
        sendJson(res, *agent);
    });

    svr.Patch(kAgentPath, [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user) return;
        auto body = parseBody(req, res);
        if (!body) return;
        if (const auto problem = agentBodyProblem(*body)) return sendError(res, 400, *problem);
        std::optional<json> updated;
        s.db->transaction([&] {
            updated = storedAgent(s, req.matches[1], userId(*user));
            if (!updated) return;
            for (const auto& key : agentWritableKeys())
                if (body->contains(key)) (*updated)[key] = (*body)[key];
            if (body->contains("name")) (*updated)["name"] = trim((*body)["name"].get<std::string>());
            s.db->execute("UPDATE agents SET json = ? WHERE id = ? AND user_id = ?",
                          {updated->dump(), std::string(req.matches[1]), userId(*user)});
        });
        if (!updated) return sendError(res, 404, "Agent not found");
        sendJson(res, *updated);
    });

    svr.Post("/api/v2/custom-agents", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user) return;
        auto body = parseBody(req, res);
        if (!body) return;
        if (const auto problem = agentBodyProblem(*body)) return sendError(res, 400, *problem);
        const std::string id = "a-" + randomHex(8);
        const std::string name = trim(str(*body, "name"));
        json a = agentJson(id, name.empty() ? "Model chat" : name, "", "employee", "model_chat");
        for (const auto& key : agentWritableKeys())
            if (body->contains(key) && key != "name" && key != "is_orchestrator") a[key] = (*body)[key];
        if (!textOf(a, "llm_model").empty()) a["resolved_llm_model"] = a["llm_model"];
        s.db->transaction([&] {
            const long long pos = integer(s.db->query("SELECT coalesce(max(position), 0) + 1 FROM agents").at(0)[0]);
            s.db->execute("INSERT INTO agents (id, user_id, position, json) VALUES (?, ?, ?, ?)",
                          {id, userId(*user), pos, a.dump()});
        });
        sendJson(res, a, 201);
    });
}

} // namespace service
