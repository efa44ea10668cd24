// Employees: the list with unread counts and activity, one record, creation (a model chat, or an
// employee from a drafted body, optionally hired into a project), patches, deletion.
#include "Routes.h"

#include "agents/AgentJson.h"
#include "agents/AgentStore.h"
#include "auth/Sessions.h"
#include "core/Crypto.h"
#include "core/Http.h"
#include "core/Refusable.h"
#include "core/Slug.h"
#include "projects/ProjectStore.h"
#include "workers/RunStore.h"
#include "workers/WorkerRuntime.h"

#include <map>

namespace service {

namespace {

constexpr const char* kAgentPath = R"(/api/v2/custom-agents/([A-Za-z0-9_-]+))";

std::map<std::string, long long> unreadByAgent(Service& s, long long uid)
{
    std::map<std::string, long long> out;
    const auto rows = s.db->query("SELECT m.agent_id, count(*) FROM messages m JOIN agents a ON a.id = m.agent_id "
                                  "WHERE a.user_id = ? AND m.role = 'assistant' AND m.read = 0 GROUP BY m.agent_id",
                                  {uid});
    for (const auto& r : rows)
        out[text(r[0])] = integer(r[1]);
    return out;
}

std::map<std::string, std::string> lastMessageByAgent(Service& s, long long uid)
{
    std::map<std::string, std::string> out;
    const auto rows
        = s.db->query("SELECT m.agent_id, max(m.created_at) FROM messages m JOIN agents a ON a.id = m.agent_id "
                      "WHERE a.user_id = ? GROUP BY m.agent_id",
                      {uid});
    for (const auto& r : rows)
        out[text(r[0])] = text(r[1]);
    return out;
}

// Drafted employees carry prompts, skills and knowledge; a megabyte is far beyond any of them.
constexpr size_t kMaxCreateBody = 1024 * 1024;

void createAgent(Service& s, long long uid, const json& body, httplib::Response& res)
{
    if (const auto problem = agentBodyProblem(body))
        return sendError(res, 400, *problem);
    if (body.contains("project_slug") && !body["project_slug"].is_string() && !body["project_slug"].is_null())
        return sendError(res, 400, "project_slug must be a string");
    const json a = agentFromCreateBody(body, "a-" + randomHex(8));
    const std::string projectSlug = trim(str(body, "project_slug"));
    const auto problem = refusableTransaction(*s.db, [&]() -> std::optional<std::string> {
        std::optional<ProjectRef> project;
        if (!projectSlug.empty() && !(project = findProject(s, uid, projectSlug)))
            return std::string("Project not found");
        insertAgent(s, uid, a);
        if (project)
            addProjectMember(s, *project, "agent", textOf(a, "id"), textOf(a, "role"));
        return std::nullopt;
    });
    if (problem)
        return sendError(res, 404, *problem);
    sendJson(res, a, 201);
}

// Removes the agent with its chat, usage and worker runs. Its running runs are stopped first
// and anything they wrote while stopping is removed after them.
bool deleteAgent(Service& s, long long uid, const std::string& id)
{
    const auto forget = [&] {
        s.db->execute("DELETE FROM messages WHERE agent_id = ?", {id});
        s.db->execute("DELETE FROM agent_usage WHERE agent_id = ?", {id});
        workers::forgetWorker(s, id);
    };
    bool found = false;
    s.db->transaction([&] {
        found = findAgent(s, uid, id).has_value();
        if (!found)
            return;
        s.db->execute("DELETE FROM agents WHERE id = ? AND user_id = ?", {id, uid});
        forget();
    });
    if (found && s.workers) {
        s.workers->stopRunsOf(id);
        s.db->transaction(forget);
    }
    return found;
}

json listAnswer(Service& s, long long uid, bool withActivity)
{
    const auto unread = unreadByAgent(s, uid);
    const auto rows = s.db->query("SELECT json FROM agents WHERE user_id = ? ORDER BY position", {uid});
    json agents = json::array(), unreadOut = json::object(), teamUnread = json::object();
    for (const auto& r : rows) {
        json a = json::parse(text(r[0]), nullptr, false);
        if (!a.is_object() || !a.contains("id"))
            continue;
        const bool orchestrator = flagOf(a, "is_orchestrator");
        // Archived employees leave the list; the orchestrator stays whatever its status.
        if (textOf(a, "status") == "archived" && !orchestrator)
            continue;
        const std::string id = textOf(a, "id");
        const auto n = unread.count(id) ? unread.at(id) : 0;
        const std::string group = textOf(a, "agent_group");
        // A team's conversation is its orchestrator's: its count is the team's, not an employee's.
        if (orchestrator && !group.empty())
            teamUnread[groupSlug(group)] = n;
        else if (n > 0)
            unreadOut[id] = n;
        agents.push_back(std::move(a));
    }
    json out{{"agents", agents}, {"unread", unreadOut}, {"orchestratorUnread", teamUnread}};
    if (withActivity) {
        json activity = json::object();
        for (const auto& [id, at] : lastMessageByAgent(s, uid))
            activity[id] = {{"last_message_at", at}};
        out["activity"] = activity;
    }
    return out;
}

} // namespace

void addAgentRoutes(httplib::Server& svr, Service& s)
{
    svr.Get("/api/v2/custom-agents", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        sendJson(res, listAnswer(s, userId(*user), req.get_param_value("include_activity") == "1"));
    });

    svr.Get(kAgentPath, [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        const auto agent = findAgent(s, userId(*user), req.matches[1]);
        if (!agent)
            return sendError(res, 404, "Agent not found");
        sendJson(res, *agent);
    });

    svr.Patch(kAgentPath, [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        auto body = parseBody(req, res, kMaxCreateBody);
        if (!body)
            return;
        if (const auto problem = agentBodyProblem(*body))
            return sendError(res, 400, *problem);
        std::optional<json> updated;
        s.db->transaction([&] {
            updated = findAgent(s, userId(*user), req.matches[1]);
            if (!updated)
                return;
            for (const auto& key : agentWritableKeys())
                if (body->contains(key))
                    (*updated)[key] = (*body)[key];
            if (body->contains("name"))
                (*updated)["name"] = trim((*body)["name"].get<std::string>());
            s.db->execute("UPDATE agents SET json = ? WHERE id = ? AND user_id = ?",
                          {updated->dump(), std::string(req.matches[1]), userId(*user)});
        });
        if (!updated)
            return sendError(res, 404, "Agent not found");
        sendJson(res, *updated);
    });

    svr.Delete(kAgentPath, [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        if (!deleteAgent(s, userId(*user), req.matches[1]))
            return sendError(res, 404, "Agent not found");
        sendJson(res, {{"ok", true}});
    });

    svr.Post("/api/v2/custom-agents", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        auto body = parseBody(req, res, kMaxCreateBody);
        if (!body)
            return;
        createAgent(s, userId(*user), *body, res);
    });
}

} // namespace service
