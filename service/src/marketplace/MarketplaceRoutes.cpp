// The marketplace: a light summary of every ready-made employee, full records by id in the
// order asked, and hiring by clone.
#include "Routes.h"

#include "auth/Sessions.h"
#include "avatars/AvatarSvg.h"
#include "marketplace/MarketplaceHire.h"

#include <set>
#include <sstream>

namespace service {

namespace {

using namespace marketplace;

constexpr size_t kMaxIds = 50;

json fullRecord(Service& s, const Listing& l)
{
    json skills = json::array();
    for (const auto& k : l.skills)
        skills.push_back({{"name", k.name}, {"description", k.description}});
    return {{"id", l.id},
            {"name", l.name},
            {"description", l.description},
            {"sector_slug", l.sector},
            {"creator_full_name", l.creator},
            {"tools_count", l.tools.size()},
            {"playbook_steps_count", l.playbookSteps},
            {"installs_count", installsOf(s, l)},
            {"rating_avg", l.rating},
            {"avatar_url", avatarUrl(s.origin(), l.name)},
            {"skills", skills},
            {"example_tasks", l.exampleTasks},
            {"capabilities", {{"service", l.service}}},
            {"tools_summary", l.tools}};
}

json summary(Service& s)
{
    json out = json::array();
    for (const auto& l : catalog())
        out.push_back({{"id", l.id}, {"name", l.name}, {"service", l.service}, {"installs_count", installsOf(s, l)}});
    return out;
}

// "a,b , c" -> a, b, c: empty items dropped, each id once.
std::vector<std::string> requestedIds(const std::string& param)
{
    std::vector<std::string> ids;
    std::set<std::string> seen;
    std::stringstream in(param);
    for (std::string id; std::getline(in, id, ',');) {
        id = trim(id);
        if (!id.empty() && seen.insert(id).second)
            ids.push_back(id);
    }
    return ids;
}

} // namespace

void addMarketplaceRoutes(httplib::Server& svr, Service& s)
{
    svr.Get("/api/v2/marketplace", [&](const httplib::Request& req, httplib::Response& res) {
        if (!requireUser(s, req, res))
            return;
        if (req.get_param_value("summary") == "1")
            return sendJson(res, {{"agents", summary(s)}});
        json agents = json::array();
        if (!req.has_param("ids")) {
            for (const auto& l : catalog())
                agents.push_back(fullRecord(s, l));
            return sendJson(res, {{"agents", agents}});
        }
        const auto ids = requestedIds(req.get_param_value("ids"));
        if (ids.size() > kMaxIds)
            return sendError(res, 400, "Ask for at most 50 ids at a time");
        for (const auto& id : ids)
            if (const Listing* l = findListing(id))
                agents.push_back(fullRecord(s, *l));
        sendJson(res, {{"agents", agents}});
    });

    svr.Post(R"(/api/v2/custom-agents/([A-Za-z0-9_-]+)/clone)",
             [&](const httplib::Request& req, httplib::Response& res) {
                 const auto user = requireUser(s, req, res);
                 if (!user)
                     return;
                 const auto body = parseBody(req, res, 64 * 1024);
                 if (!body)
                     return;
                 const Listing* listing = findListing(req.matches[1]);
                 if (!listing)
                     return sendError(res, 404, "This employee is not in the marketplace");
                 HireOutcome outcome;
                 s.db->transaction([&] { outcome = hire(s, userId(*user), *listing, *body); });
                 sendJson(res, outcome.body, outcome.status);
             });
}

} // namespace service
