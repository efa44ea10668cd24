#include "Server.h"

#include "Routes.h"
#include "computer/ComputerRuntime.h"
#include "core/Http.h"
#include "core/Migrations.h"
#include "core/Utf8.h"
#include "workers/WorkerRuntime.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace service {

namespace {

using Handled = httplib::Server::HandlerResponse;

// The fault switches that answer before any route; true when the request is already answered.
bool injectFault(Service& s, httplib::Response& res)
{
    int latency = 0;
    {
        std::lock_guard guard(s.faults.lock);
        latency = s.faults.latencyMs;
        if (s.faults.dropNext > 0) {
            --s.faults.dropNext;
            // The status line goes out, then the connection closes before any body: the
            // client sees a transport failure, not an answer.
            res.set_chunked_content_provider("application/json", [](size_t, httplib::DataSink&) { return false; });
            return true;
        }
        if (s.faults.failCount > 0) {
            --s.faults.failCount;
            sendError(res, s.faults.failStatus, s.faults.failError);
            return true;
        }
    }
    if (latency > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(latency));
    return false;
}

// Changes come only from the service's own origin (the app sends it on every request).
bool foreignOrigin(const Service& s, const httplib::Request& req)
{
    const bool mutating
        = req.method == "POST" || req.method == "PUT" || req.method == "PATCH" || req.method == "DELETE";
    if (!mutating || req.path.rfind("/api/", 0) != 0)
        return false;
    const std::string origin = req.get_header_value("Origin");
    const std::string port = std::to_string(s.port);
    return origin != "http://127.0.0.1:" + port && origin != "http://localhost:" + port;
}

} // namespace

void openStore(Service& s)
{
    std::error_code ec;
    std::filesystem::create_directories(s.opt.dataDir, ec);
    s.db = std::make_unique<Database>(s.opt.dataDir + "/service.sqlite3");
    migrate(*s.db);
}

void configureServer(httplib::Server& svr, Service& s)
{
    svr.new_task_queue = [] { return new httplib::ThreadPool(32); };
    // An event stream writes one small frame at a time; waiting to coalesce them behind the
    // client's delayed acknowledgement would hold each one back by tens of milliseconds.
    svr.set_tcp_nodelay(true);
    svr.set_payload_max_length(kMaxRequestBytes);

    svr.set_pre_routing_handler([&s](const httplib::Request& req, httplib::Response& res) {
        if (req.path.rfind("/__test/", 0) == 0) {
            if (s.opt.testMode)
                return Handled::Unhandled;
            sendError(res, 404, "Not found");
            return Handled::Handled;
        }
        if (injectFault(s, res))
            return Handled::Handled;
        if (foreignOrigin(s, req)) {
            sendError(res, 403, "CSRF check failed: origin not allowed");
            return Handled::Handled;
        }
        // Text that reaches a store must be UTF-8: one invalid stored byte breaks every later answer.
        if (!requestTextValid(req)) {
            sendError(res, 400, kInvalidUtf8);
            return Handled::Handled;
        }
        return Handled::Unhandled;
    });
    // What went wrong inside stays inside: the answer never carries an exception's text.
    svr.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
        sendError(res, 500, "Internal error");
    });
    // A moved test clock may make scheduled runs due, steps finish and browser sessions expire:
    // they catch up before the answer goes out, so what a test reads next already shows it.
    svr.set_post_routing_handler([&s](const httplib::Request& req, httplib::Response& res) {
        if (req.path != "/__test/clock" || res.status != 200)
            return;
        if (s.workers)
            s.workers->clockMoved();
        if (s.computer)
            s.computer->clockMoved();
    });
    svr.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (!res.body.empty())
            return;
        if (res.status == 404)
            sendError(res, 404, "Not found");
        else if (res.status == 413)
            sendError(res, 413, "Request body is too large (at most 204 MB)");
        else if (res.status == 400)
            sendError(res, 400, "Malformed request");
        else
            sendError(res, res.status, "Request failed");
    });

    addAuthRoutes(svr, s);
    addAgentRoutes(svr, s);
    addAppcastRoutes(svr, s);
    addChatRoutes(svr, s);
    addStreamRoutes(svr, s);
    addGoogleRoutes(svr, s);
    addTeamRoutes(svr, s);
    addProjectRoutes(svr, s);
    addGenerationRoutes(svr, s);
    addMarketplaceRoutes(svr, s);
    addAvatarRoutes(svr, s);
    addApiKeyRoutes(svr, s);
    addWorkerRoutes(svr, s);
    addWorkflowMarketplaceRoutes(svr, s);
    addGovernanceRoutes(svr, s);
    addConnectionRoutes(svr, s);
    addChannelRoutes(svr, s);
    addExternalKeyRoutes(svr, s);
    addWalletRoutes(svr, s);
    addStoreRoutes(svr, s);
    addIntakeRoutes(svr, s);
    addDemoSiteRoutes(svr, s);
    addMemoryRoutes(svr, s);
    addVoiceRoutes(svr, s);
    addComputerRoutes(svr, s);
    if (s.opt.testMode)
        addTestRoutes(svr, s);
}

} // namespace service
