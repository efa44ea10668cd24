// Workers at work: the dry run of a playbook, deploying a trigger, starting a run, the run list
// and cancelling a run. Runs play on the worker runtime's threads (see WorkerRuntime.h).
#include "Routes.h"

#include "billing/Charges.h"
#include "workers/RunExecutor.h"

#include "agents/AgentJson.h"
#include "agents/AgentStore.h"
#include "auth/Sessions.h"
#include "core/Refusable.h"
#include "workers/Playbook.h"
#include "workers/RunStore.h"
#include "workers/Scheduler.h"
#include "workers/WorkerClock.h"
#include "workers/WorkerRequests.h"
#include "workers/WorkerRuntime.h"

namespace service {

namespace {

using namespace workers;

constexpr const char* kWorkerPath = R"(/api/v2/custom-agents/([A-Za-z0-9_-]+))";
constexpr const char* kRunPath = R"(/api/v2/workflow-runs/([A-Za-z0-9_-]+))";
constexpr size_t kMaxRunBody = 64 * 1024;
constexpr size_t kMaxInput = 20000;

void dryRun(Service& s, long long uid, const std::string& id, httplib::Response& res)
{
    const auto worker = requireWorker(s, uid, id, "Only workers can be checked.", res);
    if (!worker)
        return;
    const json playbook = worker->value("playbook", json());
    if (const auto problem = playbookProblem(playbook))
        return sendJson(res, {{"ok", false}, {"status", "error"}, {"error", *problem}});
    sendJson(res, {{"ok", true}, {"status", "ok"}, {"steps", playbook.size()}});
}

struct Refusal {
    int status;
    std::string text;
};

void deploy(Service& s, long long uid, const std::string& id, const json& body, httplib::Response& res)
{
    const std::string trigger = str(body, "trigger_type");
    if (trigger != "schedule" && trigger != "event" && trigger != "webhook")
        return sendError(res, 400, "trigger_type must be \"schedule\", \"event\" or \"webhook\"");
    std::optional<Refusal> refusal;
    std::optional<long long> next;
    refusableTransaction(*s.db, [&]() -> std::optional<std::string> {
        auto worker = findAgent(s, uid, id);
        if (!worker)
            refusal = Refusal{404, kAgentNotFound};
        else if (textOf(*worker, "agent_type") != "worker")
            refusal = Refusal{400, "Only workers can be deployed."};
        else if (textOf(*worker, "status") != "active")
            refusal = Refusal{409, "Activate the worker before deploying it."};
        if (refusal)
            return refusal->text;
        if (trigger == "schedule")
            next = scheduleWorker(s, uid, id, intervalOf(*worker));
        else
            unscheduleWorker(s, id);
        (*worker)["trigger_type"] = trigger;
        (*worker)["deployed"] = true;
        saveAgent(s, uid, *worker);
        return std::nullopt;
    });
    if (refusal)
        return sendError(res, refusal->status, refusal->text);
    sendJson(res, {{"ok", true}, {"next_run_at", next ? json(isoAt(*next)) : json(nullptr)}});
}

std::optional<std::string> runBodyProblem(const json& body)
{
    if (body.contains("from_chat") && !body["from_chat"].is_boolean())
        return std::string("from_chat must be true or false");
    for (const auto& [key, limit] :
         {std::pair{"input", kMaxInput}, {"delivery_agent_id", size_t(100)}, {"conversation_id", size_t(200)}})
        if (auto problem = optionalTextProblem(body, key, limit))
            return problem;
    return std::nullopt;
}

void startRun(Service& s, long long uid, const std::string& id, const json& body, httplib::Response& res)
{
    if (const auto problem = runBodyProblem(body))
        return sendError(res, 400, *problem);
    NewRun run;
    run.userId = uid;
    run.agentId = id;
    run.triggerType = "manual";
    if (const std::string input = trim(str(body, "input")); !input.empty())
        run.input = input;
    if (const std::string to = trim(str(body, "delivery_agent_id")); !to.empty())
        run.deliveryAgentId = to;
    if (const std::string conversation = trim(str(body, "conversation_id")); !conversation.empty())
        run.conversationId = conversation;
    std::optional<Refusal> refusal;
    std::string runId;
    refusableTransaction(*s.db, [&]() -> std::optional<std::string> {
        const auto worker = findAgent(s, uid, id);
        const json playbook = worker ? worker->value("playbook", json()) : json();
        if (!worker)
            refusal = Refusal{404, kAgentNotFound};
        else if (textOf(*worker, "agent_type") != "worker")
            refusal = Refusal{400, "Only workers can be run."};
        else if (!playbook.is_array() || playbook.empty())
            refusal = Refusal{400, kNoSteps};
        else if (run.deliveryAgentId && !findAgent(s, uid, *run.deliveryAgentId))
            refusal = Refusal{400, "Delivery employee not found"};
        else if (textOf(*worker, "status") != "active")
            refusal = Refusal{409, "Activate the worker before running it."};
        else if (hasLiveRun(s, id))
            refusal = Refusal{409, "This worker is already running."};
        if (refusal)
            return refusal->text;
        run.steps = plannedSteps(playbook);
        runId = insertRun(s, run);
        return std::nullopt;
    });
    if (refusal)
        return sendError(res, refusal->status, refusal->text);
    // The run's estimate is held before it starts; a wallet that cannot cover it refuses the run.
    if (const auto shortfall
        = billing::holdForRun(s, uid, runId, billing::kRunStepCredits * (long long)run.steps.size())) {
        abandonRun(s, runId);
        return sendJson(res,
                        {{"error", "Not enough tokens for this run. Top up your wallet to continue."},
                         {"required_usd", shortfall->requiredUsd},
                         {"available_usd", shortfall->availableUsd}},
                        402);
    }
    s.workers->launch(runId, id);
    sendJson(res, {{"run_id", runId}, {"id", runId}, {"status", "running"}}, 202);
}

// "20" by default, at most 100; nothing when the text is not a positive whole number.
std::optional<long long> runLimit(const httplib::Request& req)
{
    if (!req.has_param("limit"))
        return 20;
    const std::string v = req.get_param_value("limit");
    if (v.empty() || v.size() > 6 || v.find_first_not_of("0123456789") != std::string::npos || std::stoll(v) < 1)
        return std::nullopt;
    return std::min(std::stoll(v), 100LL);
}

void cancelRun(Service& s, long long uid, const std::string& runId, httplib::Response& res)
{
    if (!findRun(s, uid, runId))
        return sendError(res, 404, "Run not found");
    // Live on a thread here, or queued and not yet taken; a finished run stays as it ended.
    if (!s.workers->cancel(runId))
        cancelQueuedRun(s, runId);
    const auto run = findRun(s, uid, runId);
    sendJson(res, {{"ok", true}, {"status", run ? run->value("status", std::string()) : std::string("cancelled")}});
}

template <typename Handler>
httplib::Server::Handler signedIn(Service& s, Handler handler)
{
    return [&s, handler](const httplib::Request& req, httplib::Response& res) {
        if (const auto user = requireUser(s, req, res))
            handler(userId(*user), req, res);
    };
}

} // namespace

void addWorkerRoutes(httplib::Server& svr, Service& s)
{
    closeInterruptedRuns(s);
    s.workers = std::make_shared<WorkerRuntime>(s);
    s.workers->startTicker();

    const std::string worker = kWorkerPath;
    svr.Post(worker + "/dry-run", signedIn(s, [&s](long long uid, const httplib::Request& req, httplib::Response& res) {
                 dryRun(s, uid, req.matches[1], res);
             }));
    svr.Post(worker + "/deploy", signedIn(s, [&s](long long uid, const httplib::Request& req, httplib::Response& res) {
                 if (const auto body = bodyOrEmpty(req, res, kMaxRunBody))
                     deploy(s, uid, req.matches[1], *body, res);
             }));
    svr.Post(worker + "/run", signedIn(s, [&s](long long uid, const httplib::Request& req, httplib::Response& res) {
                 if (const auto body = bodyOrEmpty(req, res, kMaxRunBody))
                     startRun(s, uid, req.matches[1], *body, res);
             }));
    svr.Get("/api/v2/workflow-runs",
            signedIn(s, [&s](long long uid, const httplib::Request& req, httplib::Response& res) {
                const auto limit = runLimit(req);
                if (!limit)
                    return sendError(res, 400, "limit must be a whole number from 1 to 100");
                std::optional<std::string> agentId;
                if (req.has_param("agent_id"))
                    agentId = req.get_param_value("agent_id");
                sendJson(res, {{"runs", listRuns(s, uid, agentId, *limit)}});
            }));
    svr.Get(kRunPath, signedIn(s, [&s](long long uid, const httplib::Request& req, httplib::Response& res) {
                const auto run = findRun(s, uid, req.matches[1]);
                if (!run)
                    return sendError(res, 404, "Run not found");
                sendJson(res, *run);
            }));
    svr.Post(std::string(kRunPath) + "/cancel",
             signedIn(s, [&s](long long uid, const httplib::Request& req, httplib::Response& res) {
                 cancelRun(s, uid, req.matches[1], res);
             }));
}

} // namespace service
