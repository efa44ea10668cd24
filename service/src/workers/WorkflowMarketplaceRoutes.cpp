// The workflow marketplace: its pages, adding a workflow as a private worker, and publishing a
// worker of one's own there.
#include "Routes.h"

#include "agents/AgentJson.h"
#include "agents/AgentStore.h"
#include "auth/Sessions.h"
#include "workers/WorkerRequests.h"
#include "workers/WorkflowMarketplace.h"

namespace service {

namespace {

using namespace workers;

// The offset a cursor stands for; nothing when it is not one this list gives out.
std::optional<size_t> cursorOffset(const httplib::Request& req)
{
    const std::string cursor = req.get_param_value("cursor");
    if (cursor.empty())
        return 0;
    if (cursor.size() > 9 || cursor.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return size_t(std::stoul(cursor));
}

void publish(Service& s, long long uid, const std::string& id, const json& body, httplib::Response& res)
{
    if (!body.contains("available") || !body["available"].is_boolean())
        return sendError(res, 400, "available must be true or false");
    const bool available = body["available"].get<bool>();
    bool refused = false;
    std::optional<json> worker;
    s.db->transaction([&] {
        worker = requireWorker(s, uid, id, "Only workers can be published.", res);
        if (!worker)
            return;
        if ((refused = takenFromMarketplace(*worker)))
            return;
        (*worker)["workflow_marketplace_enabled"] = available;
        saveAgent(s, uid, *worker);
    });
    if (!worker)
        return;
    if (refused)
        return sendError(res, 409, "A workflow taken from the Marketplace can’t be published again.");
    sendJson(res, {{"ok", true}, {"available", available}});
}

} // namespace

void addWorkflowMarketplaceRoutes(httplib::Server& svr, Service& s)
{
    svr.Get("/api/v2/workflow-marketplace", [&s](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        const auto offset = cursorOffset(req);
        if (!offset)
            return sendError(res, 400, "cursor is not one this list gave out");
        sendJson(res, workflowPage(s, userId(*user), *offset));
    });

    svr.Post(R"(/api/v2/workflow-marketplace/([A-Za-z0-9_-]+)/install)",
             [&s](const httplib::Request& req, httplib::Response& res) {
                 const auto user = requireUser(s, req, res);
                 if (!user)
                     return;
                 InstallOutcome outcome;
                 s.db->transaction([&] { outcome = installWorkflow(s, userId(*user), req.matches[1]); });
                 sendJson(res, outcome.body, outcome.status);
             });

    svr.Patch(R"(/api/v2/custom-agents/([A-Za-z0-9_-]+)/workflow-marketplace)",
              [&s](const httplib::Request& req, httplib::Response& res) {
                  const auto user = requireUser(s, req, res);
                  if (!user)
                      return;
                  if (const auto body = parseBody(req, res, 4096))
                      publish(s, userId(*user), req.matches[1], *body, res);
              });
}

} // namespace service
