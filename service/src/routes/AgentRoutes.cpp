#include "routes/Routes.h"

#include "AgentJson.h"
#include "Crypto.h"
#include "Http.h"
#include "Sessions.h"

namespace service {

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
        const std::string id = "a-" + randomHex(8);
        json a = agentJson(id, str(*body, "name").empty() ? "Model chat" : str(*body, "name"), "", "employee", "model_chat");
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

} // namespace service
