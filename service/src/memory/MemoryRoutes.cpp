// An employee's memory: notes the user taught it, its tables, files and skills, and the facts
// its workspace shares. Everything is asked for one employee of the signed-in user.
#include "Routes.h"

#include "agents/AgentJson.h"
#include "agents/AgentStore.h"
#include "artifacts/ArtifactStore.h"
#include "auth/Sessions.h"
#include "core/Utf8.h"
#include "goals/GoalStore.h"
#include "memory/AgentKnowledge.h"
#include "memory/FactBlob.h"
#include "memory/MemoryNotes.h"
#include "memory/MemoryWorkspace.h"

namespace service {

namespace {

constexpr const char* kAgentMemory = R"(/api/v2/custom-agents/([A-Za-z0-9_-]{1,64}))";
constexpr size_t kMaxMemoryBody = 512 * 1024;

struct Owner {
    long long uid = 0;
    json agent;
    std::string agentId() const { return textOf(agent, "id"); }
};

// The signed-in user and their employee `agentId`, or nothing with the answer sent.
std::optional<Owner> ownerOf(Service& s, const httplib::Request& req, httplib::Response& res,
                             const std::string& agentId)
{
    const auto user = requireUser(s, req, res);
    if (!user)
        return std::nullopt;
    if (agentId.empty()) {
        sendError(res, 400, "agent_id is required");
        return std::nullopt;
    }
    auto agent = findAgent(s, userId(*user), agentId);
    if (!agent) {
        sendError(res, 404, "Agent not found");
        return std::nullopt;
    }
    return Owner{userId(*user), std::move(*agent)};
}

// Memory is kept per employee; "agent" is the one scope a request may name.
bool scopeAccepted(const std::string& scope, httplib::Response& res)
{
    if (scope.empty() || scope == "agent")
        return true;
    sendError(res, 400, "workspace_scope must be \"agent\"");
    return false;
}

std::optional<Owner> queryOwner(Service& s, const httplib::Request& req, httplib::Response& res)
{
    if (!scopeAccepted(req.get_param_value("workspace_scope"), res))
        return std::nullopt;
    return ownerOf(s, req, res, req.get_param_value("agent_id"));
}

void addNote(Service& s, const httplib::Request& req, httplib::Response& res)
{
    const auto body = parseBody(req, res, kMaxMemoryBody);
    if (!body)
        return;
    for (const char* key : {"agent_id", "body", "title", "workspace_scope"})
        if (body->contains(key) && !(*body)[key].is_string() && !(*body)[key].is_null())
            return sendError(res, 400, std::string(key) + " must be a text");
    if (!scopeAccepted(str(*body, "workspace_scope"), res))
        return;
    const auto owner = ownerOf(s, req, res, str(*body, "agent_id"));
    if (!owner)
        return;
    const std::string text = trim(str(*body, "body"));
    const std::string title = trim(str(*body, "title"));
    if (text.empty())
        return sendError(res, 400, "A note needs some text");
    if (text.size() > kMaxNoteChars * 4 || title.size() > 200)
        return sendError(res, 400, "The note is too long (100000 characters at most, a title of 200)");
    json note;
    std::string refusal;
    s.db->transaction([&] {
        if (memoryNoteCount(s, owner->uid, owner->agentId()) >= kMaxNotesPerAgent)
            refusal = "This employee already keeps 500 notes — forget some before teaching it more.";
        else
            note = addMemoryNote(s, owner->uid, owner->agentId(), title, text);
    });
    if (!refusal.empty())
        return sendError(res, 400, refusal);
    sendJson(res, {{"ok", true}, {"note", note}}, 201);
}

void patchProfile(Service& s, const Owner& owner, const json& body, httplib::Response& res)
{
    if (!scopeAccepted(body.contains("workspace_scope") && body["workspace_scope"].is_string()
                           ? body["workspace_scope"].get<std::string>()
                           : std::string(),
                       res))
        return;
    if (!body.contains("worker_user_facts") || !body["worker_user_facts"].is_string())
        return sendError(res, 400, "worker_user_facts must be a text");
    const std::string facts = body["worker_user_facts"].get<std::string>();
    if (facts.size() > kMaxFactBlobBytes)
        return sendError(res, 400, "worker_user_facts is too long (100000 bytes at most)");
    const MemoryWorkspace workspace = workspaceOf(s, owner.uid, owner.agent);
    changeWorkspaceFacts(s, owner.uid, workspace.key, [&](std::string& stored) {
        stored = joinFacts(factEntries(facts));
        return true;
    });
    sendJson(res, memoryProfileJson(s, owner.uid, workspace));
}

// The runs of one of the employee's goals the memory panel lists as results: the run a goal
// delivered for review (goals keep their latest delivered run only).
void goalRuns(Service& s, const Owner& owner, const std::string& goalId, const httplib::Request& req,
              httplib::Response& res)
{
    int limit = 20;
    if (req.has_param("limit")) {
        limit = std::atoi(req.get_param_value("limit").c_str());
        if (limit <= 0)
            return sendError(res, 400, "Invalid limit: expected a positive whole number");
    }
    const json goals = listGoals(*s.db, owner.uid, "agent:" + owner.agentId(), 200);
    const auto goal
        = std::find_if(goals.begin(), goals.end(), [&](const json& g) { return textOf(g, "id") == goalId; });
    if (goal == goals.end())
        return sendError(res, 404, "Goal not found");
    json runs = json::array();
    const auto pending = goal->find("pending_review");
    if (pending != goal->end() && pending->is_object() && !textOf(*pending, "run_id").empty())
        runs.push_back({{"id", textOf(*pending, "run_id")},
                        {"goal_id", goalId},
                        {"status", pending->value("acceptance_status", std::string("pending"))},
                        {"result", nullptr},
                        {"created_at", nullptr}});
    if (runs.size() > size_t(limit))
        runs.erase(runs.begin() + limit, runs.end());
    sendJson(res, {{"runs", runs}});
}

} // namespace

void addMemoryRoutes(httplib::Server& svr, Service& s)
{
    svr.Post("/api/v2/notes", [&](const httplib::Request& req, httplib::Response& res) { addNote(s, req, res); });
    svr.Get("/api/v2/notes", [&](const httplib::Request& req, httplib::Response& res) {
        if (const auto owner = queryOwner(s, req, res))
            sendJson(res, {{"notes", memoryNotesJson(s, owner->uid, owner->agentId())}});
    });
    svr.Delete(R"(/api/v2/notes/([A-Za-z0-9_-]{1,64}))", [&](const httplib::Request& req, httplib::Response& res) {
        const auto owner = queryOwner(s, req, res);
        if (!owner)
            return;
        if (!deleteMemoryNote(s, owner->uid, owner->agentId(), req.matches[1]))
            return sendError(res, 404, "Note not found");
        sendJson(res, {{"ok", true}});
    });
    svr.Get("/api/v2/tables", [&](const httplib::Request& req, httplib::Response& res) {
        if (const auto owner = queryOwner(s, req, res))
            sendJson(res, {{"tables", agentTablesJson(*s.db, owner->uid, owner->agentId())}});
    });

    const std::string agent = kAgentMemory;
    svr.Get(agent + "/files", [&](const httplib::Request& req, httplib::Response& res) {
        if (const auto owner = ownerOf(s, req, res, req.matches[1]))
            sendJson(res, {{"files", agentFilesJson(s, owner->uid, owner->agentId())}});
    });
    svr.Delete(agent + "/files", [&](const httplib::Request& req, httplib::Response& res) {
        const auto owner = ownerOf(s, req, res, req.matches[1]);
        if (!owner)
            return;
        const std::string url = req.get_param_value("url");
        if (url.empty())
            return sendError(res, 400, "url is required");
        if (!removeAgentFile(s, owner->uid, owner->agentId(), url))
            return sendError(res, 404, "File not found");
        sendJson(res, {{"ok", true}});
    });
    svr.Get(agent + "/skills", [&](const httplib::Request& req, httplib::Response& res) {
        if (const auto owner = ownerOf(s, req, res, req.matches[1]))
            sendJson(res, {{"skills", agentSkillsJson(owner->agent)}});
    });
    svr.Get(agent + R"(/goals/([A-Za-z0-9_-]{1,64})/runs)", [&](const httplib::Request& req, httplib::Response& res) {
        if (const auto owner = ownerOf(s, req, res, req.matches[1]))
            goalRuns(s, *owner, req.matches[2], req, res);
    });
    svr.Get(agent + "/memory-profile", [&](const httplib::Request& req, httplib::Response& res) {
        if (const auto owner = ownerOf(s, req, res, req.matches[1]))
            sendJson(res, memoryProfileJson(s, owner->uid, workspaceOf(s, owner->uid, owner->agent)));
    });
    svr.Patch(agent + "/memory-profile", [&](const httplib::Request& req, httplib::Response& res) {
        const auto body = parseBody(req, res, kMaxMemoryBody);
        if (!body)
            return;
        if (const auto owner = ownerOf(s, req, res, req.matches[1]))
            patchProfile(s, *owner, *body, res);
    });
}

} // namespace service
