// Teams: creation, settings, roster changes and usage. The team conversation is served with the chat routes.
#include "Routes.h"

#include "agents/AgentJson.h"
#include "auth/Sessions.h"
#include "core/Http.h"
#include "core/Refusable.h"
#include "core/SqlValues.h"
#include "teams/TeamCreate.h"
#include "teams/TeamMembers.h"
#include "teams/TeamSettingsPatch.h"

namespace service {

namespace {

constexpr const char* kTeam = R"(/api/v2/teams/([A-Za-z0-9_-]+))";
constexpr const char* kMembers = R"(/api/v2/teams/([A-Za-z0-9_-]+)/members)";
constexpr const char* kMember = R"(/api/v2/teams/([A-Za-z0-9_-]+)/members/([A-Za-z0-9_-]+))";
constexpr const char* kUsage = R"(/api/v2/teams/([A-Za-z0-9_-]+)/usage)";

// Signed in and the team exists, or the answer is already sent.
template <typename F>
void withTeam(Service& s, const httplib::Request& req, httplib::Response& res, F&& body)
{
    const auto user = requireUser(s, req, res);
    if (!user)
        return;
    auto team = findTeam(s, userId(*user), req.matches[1]);
    if (!team)
        return sendError(res, 404, "Team not found");
    body(userId(*user), *team);
}

json usageAnswer(Service& s, const Team& team)
{
    long long tokens = 0, calls = 0;
    double cost = 0;
    json members = json::array();
    for (const auto& a : team.members) {
        const auto rows
            = s.db->query("SELECT tokens, calls, cost_usd FROM agent_usage WHERE agent_id = ?", {textOf(a, "id")});
        const long long t = rows.empty() ? 0 : integer(rows[0][0]);
        const long long c = rows.empty() ? 0 : integer(rows[0][1]);
        const double usd = rows.empty() ? 0 : realOf(rows[0][2]);
        tokens += t;
        calls += c;
        cost += usd;
        members.push_back({{"agent_id", textOf(a, "id")},
                           {"handle", memberHandle(textOf(a, "name"), team.slug)},
                           {"role", textOf(a, "role")},
                           {"status", textOf(a, "status")},
                           {"tokens", t},
                           {"calls", c},
                           {"cost_usd", usd}});
    }
    return {{"total", {{"tokens", tokens}, {"calls", calls}, {"cost_usd", cost}}}, {"members", members}};
}

} // namespace

void addTeamRoutes(httplib::Server& svr, Service& s)
{
    svr.Post("/api/v2/teams", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        // Five members with their documents stay well under a megabyte.
        auto body = parseBody(req, res, 1024 * 1024);
        if (!body)
            return;
        std::variant<json, TeamRefusal> made;
        s.db->transaction([&] { made = createTeam(s, userId(*user), *body); });
        if (const auto* refusal = std::get_if<TeamRefusal>(&made))
            return sendError(res, refusal->status, refusal->message);
        sendJson(res, std::get<json>(made), 201);
    });

    svr.Patch(kTeam, [&](const httplib::Request& req, httplib::Response& res) {
        auto body = parseBody(req, res);
        if (!body)
            return;
        withTeam(s, req, res, [&](long long uid, Team team) {
            const auto problem = refusableTransaction(*s.db, [&] { return applyTeamPatch(s, uid, team, *body); });
            if (problem)
                return sendError(res, 400, *problem);
            sendJson(res, {{"ok", true}, {"label", team.label}, {"group_slug", team.slug}});
        });
    });

    svr.Post(kMembers, [&](const httplib::Request& req, httplib::Response& res) {
        auto body = parseBody(req, res);
        if (!body)
            return;
        withTeam(s, req, res, [&](long long uid, const Team& team) {
            std::variant<json, std::string> added;
            s.db->transaction([&] { added = addMemberFromBrief(s, uid, team, str(*body, "brief")); });
            if (const auto* problem = std::get_if<std::string>(&added))
                return sendError(res, 400, *problem);
            sendJson(res, {{"ok", true}, {"member", std::get<json>(added)}});
        });
    });

    svr.Patch(kMember, [&](const httplib::Request& req, httplib::Response& res) {
        auto body = parseBody(req, res);
        if (!body)
            return;
        withTeam(s, req, res, [&](long long uid, const Team& team) {
            const std::string agentId = req.matches[2];
            const auto problem
                = refusableTransaction(*s.db, [&] { return changeMember(s, uid, team, agentId, *body); });
            if (problem)
                return sendError(res, *problem == "Member not found" ? 404 : 400, *problem);
            sendJson(res, {{"ok", true}});
        });
    });

    svr.Get(kUsage, [&](const httplib::Request& req, httplib::Response& res) {
        withTeam(s, req, res, [&](long long, const Team& team) { sendJson(res, usageAnswer(s, team)); });
    });
}

} // namespace service
