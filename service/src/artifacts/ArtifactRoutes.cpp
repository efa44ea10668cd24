// Previews of the tables and notes employees produce: the definition, its first rows, a note.
#include "artifacts/ArtifactStore.h"
#include "auth/Sessions.h"
#include "chat/ChatRouteGroups.h"
#include "memory/MemoryNotes.h"

#include <cstdlib>

namespace service {

namespace {

// The agent the artifact is asked for; a preview without one would have to guess whose it is.
std::optional<std::string> ownerAgent(const httplib::Request& req, httplib::Response& res)
{
    const std::string agentId = req.get_param_value("agent_id");
    if (agentId.empty()) {
        sendError(res, 400, "agent_id is required");
        return std::nullopt;
    }
    return agentId;
}

std::optional<int> rowLimit(const httplib::Request& req, httplib::Response& res)
{
    if (!req.has_param("limit"))
        return 50;
    const std::string v = req.get_param_value("limit");
    char* end = nullptr;
    const long n = std::strtol(v.c_str(), &end, 10);
    if (v.empty() || *end || n < 1 || n > 500) {
        sendError(res, 400, "limit must be a whole number from 1 to 500");
        return std::nullopt;
    }
    return int(n);
}

} // namespace

void addArtifactRoutes(httplib::Server& svr, Service& s)
{
    svr.Get(R"(/api/v2/tables/([A-Za-z0-9_-]{1,64}))", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        const auto agentId = ownerAgent(req, res);
        if (!agentId)
            return;
        const auto table = tableDefinition(*s.db, userId(*user), *agentId, req.matches[1]);
        if (!table)
            return sendError(res, 404, "Table not found");
        sendJson(res, *table);
    });
    svr.Get(R"(/api/v2/tables/([A-Za-z0-9_-]{1,64})/rows)", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        const auto agentId = ownerAgent(req, res);
        if (!agentId)
            return;
        const auto limit = rowLimit(req, res);
        if (!limit)
            return;
        const std::string order = req.has_param("order") ? req.get_param_value("order") : "asc";
        if (order != "asc" && order != "desc")
            return sendError(res, 400, "order must be asc or desc");
        const auto rows = tableRows(*s.db, userId(*user), *agentId, req.matches[1], *limit, order == "asc");
        if (!rows)
            return sendError(res, 404, "Table not found");
        sendJson(res, *rows);
    });
    svr.Get(R"(/api/v2/notes/([A-Za-z0-9_-]{1,64}))", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        const auto agentId = ownerAgent(req, res);
        if (!agentId)
            return;
        // A note the employee wrote in a chat, or one the user taught it.
        auto note = noteRecord(*s.db, userId(*user), *agentId, req.matches[1]);
        if (!note)
            note = findMemoryNote(s, userId(*user), *agentId, req.matches[1]);
        if (!note)
            return sendError(res, 404, "Note not found");
        sendJson(res, *note);
    });
}

} // namespace service
