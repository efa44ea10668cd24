// What governs an employee: its mandate (read, replaced or cleared) and the record of its calls.
#include "Routes.h"

#include "agents/AgentStore.h"
#include "auth/Sessions.h"
#include "governance/Mandate.h"
#include "governance/RequestBody.h"
#include "workers/WorkerClock.h"

#include <algorithm>

namespace service {

namespace {

constexpr const char* kMandatePath = R"(/api/v2/custom-agents/([A-Za-z0-9_-]+)/mandate)";

json storedMandate(Service& s, const std::string& agentId)
{
    const auto rows = s.db->query("SELECT json FROM agent_mandates WHERE agent_id = ?", {agentId});
    if (rows.empty())
        return nullptr;
    json m = json::parse(text(rows[0][0]), nullptr, false);
    return m.is_object() ? m : json(nullptr);
}

void putMandate(Service& s, long long uid, const std::string& agentId, const httplib::Request& req,
                httplib::Response& res)
{
    const auto body = readSmallBody(req, res);
    if (!body)
        return;
    if (!body->contains("mandate"))
        return sendError(res, 400, "mandate is required (an object, or null to clear it)");
    json stored = nullptr;
    if (!(*body)["mandate"].is_null()) {
        auto checked = normalizeMandate((*body)["mandate"]);
        if (const auto* problem = std::get_if<std::string>(&checked))
            return sendError(res, 400, *problem);
        stored = std::move(std::get<json>(checked));
    }
    bool found = false;
    s.db->transaction([&] {
        if (!(found = findAgent(s, uid, agentId).has_value()))
            return;
        s.db->execute("DELETE FROM agent_mandates WHERE agent_id = ?", {agentId});
        if (!stored.is_null())
            s.db->execute("INSERT INTO agent_mandates (agent_id, user_id, json, updated_at) VALUES (?, ?, ?, ?)",
                          {agentId, uid, stored.dump(), workers::serviceIso(s)});
    });
    if (!found)
        return sendError(res, 404, "Agent not found");
    sendJson(res, {{"mandate", stored}});
}

// "20" by default, 1 to 100; nothing when the text is not a whole number.
std::optional<long long> callLimit(const httplib::Request& req)
{
    const std::string v = req.get_param_value("limit");
    if (v.empty())
        return 20;
    if (v.size() > 6 || v.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::clamp(std::stoll(v), 1LL, 100LL);
}

json callJson(const SqlRow& r)
{
    return {{"id", text(r[0])},
            {"status", text(r[1])},
            {"title", text(r[2])},
            {"snippet", text(r[3])},
            {"started_at", workers::isoAt(integer(r[4]))},
            {"ended_at", isNull(r[5]) ? json(nullptr) : json(workers::isoAt(integer(r[5])))},
            {"duration_secs", isNull(r[6]) ? json(nullptr) : json(integer(r[6]))}};
}

void listCalls(Service& s, long long uid, const httplib::Request& req, httplib::Response& res)
{
    const auto limit = callLimit(req);
    if (!limit)
        return sendError(res, 400, "limit must be a whole number");
    const std::string agentId = req.get_param_value("agent_id");
    if (!agentId.empty() && !findAgent(s, uid, agentId))
        return sendError(res, 404, "Agent not found");
    std::string sql = "SELECT id, status, title, snippet, started_at, ended_at, duration_secs FROM voice_calls "
                      "WHERE user_id = ?";
    std::vector<SqlValue> params{uid};
    if (!agentId.empty()) {
        sql += " AND agent_id = ?";
        params.emplace_back(agentId);
    }
    params.emplace_back(*limit);
    json calls = json::array();
    for (const auto& r : s.db->query(sql + " ORDER BY started_at DESC, rowid DESC LIMIT ?", params))
        calls.push_back(callJson(r));
    sendJson(res, {{"calls", calls}});
}

} // namespace

void addGovernanceRoutes(httplib::Server& svr, Service& s)
{
    svr.Get(kMandatePath, [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        if (!findAgent(s, userId(*user), req.matches[1]))
            return sendError(res, 404, "Agent not found");
        sendJson(res, {{"mandate", storedMandate(s, req.matches[1])}});
    });
    svr.Put(kMandatePath, [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (user)
            putMandate(s, userId(*user), req.matches[1], req, res);
    });
    svr.Get("/api/v2/voice/calls", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (user)
            listCalls(s, userId(*user), req, res);
    });
}

} // namespace service
