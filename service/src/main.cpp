// Entry of the local service: parses flags, opens the store, wires the routes, serves on loopback.
#include "DemoSeed.h"
#include "Http.h"
#include "Service.h"
#include "routes/Routes.h"
#include "workspace/WorkspaceSchema.h"

#include <httplib.h>
#include <sodium.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

using namespace service;

int main(int argc, char** argv)
{
    if (sodium_init() < 0) return 1;
    Service s;
    s.opt = Options::parse(argc, argv);
    std::error_code ec;
    std::filesystem::create_directories(s.opt.dataDir, ec);
    s.db = std::make_unique<Database>(s.opt.dataDir + "/service.sqlite3");
    ensureWorkspaceSchema(*s.db);

    httplib::Server svr;
    svr.new_task_queue = [] { return new httplib::ThreadPool(32); };
    svr.set_payload_max_length(64 * 1024 * 1024);

    svr.set_pre_routing_handler([&](const httplib::Request& req, httplib::Response& res) {
        const bool testPath = req.path.rfind("/__test/", 0) == 0;
        if (testPath) {
            if (!s.opt.testMode) {
                sendError(res, 404, "Not found");
                return httplib::Server::HandlerResponse::Handled;
            }
            return httplib::Server::HandlerResponse::Unhandled;
        }
        int latency = 0;
        {
            std::lock_guard guard(s.faults.lock);
            latency = s.faults.latencyMs;
            if (s.faults.dropNext > 0) {
                --s.faults.dropNext;
                // The status line goes out, then the connection closes before any body: the
                // client sees a transport failure, not an answer.
                res.set_chunked_content_provider("application/json", [](size_t, httplib::DataSink&) { return false; });
                return httplib::Server::HandlerResponse::Handled;
            }
            if (s.faults.failCount > 0) {
                --s.faults.failCount;
                sendError(res, s.faults.failStatus, s.faults.failError);
                return httplib::Server::HandlerResponse::Handled;
            }
        }
        if (latency > 0) std::this_thread::sleep_for(std::chrono::milliseconds(latency));
        const bool mutating = req.method == "POST" || req.method == "PUT" || req.method == "PATCH" || req.method == "DELETE";
        if (mutating && req.path.rfind("/api/", 0) == 0) {
            const std::string origin = req.get_header_value("Origin");
            const std::string port = std::to_string(s.port);
            if (origin != "http://127.0.0.1:" + port && origin != "http://localhost:" + port) {
                sendError(res, 403, "CSRF check failed: origin not allowed");
                return httplib::Server::HandlerResponse::Handled;
            }
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    svr.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr ep) {
        std::string what = "Internal error";
        try { std::rethrow_exception(ep); } catch (const std::exception& e) { what = e.what(); } catch (...) {}
        sendError(res, 500, what);
    });
    svr.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (!res.body.empty()) return;
        if (res.status == 404) sendError(res, 404, "Not found");
        else if (res.status == 413) sendError(res, 413, "Request body is too large (at most 64 MB)");
        else if (res.status == 400) sendError(res, 400, "Malformed request");
        else sendError(res, res.status, "Request failed");
    });

    addAuthRoutes(svr, s);
    addAgentRoutes(svr, s);
    addAppcastRoutes(svr, s);
    addChatRoutes(svr, s);
    addStreamRoutes(svr, s);
    addGoogleRoutes(svr, s);
    addTeamRoutes(svr, s);
    addProjectRoutes(svr, s);
    if (s.opt.testMode) addTestRoutes(svr, s);

    if (s.opt.port == 0) s.port = svr.bind_to_any_port("127.0.0.1");
    else s.port = svr.bind_to_port("127.0.0.1", s.opt.port) ? s.opt.port : -1;
    if (s.port <= 0) {
        std::fprintf(stderr, "cannot bind 127.0.0.1:%d\n", s.opt.port);
        return 1;
    }
    std::printf("listening on http://127.0.0.1:%d\n", s.port);
    std::fflush(stdout);
    if (s.opt.seedDemo) {
        seedDemo(s);
        std::printf("demo account: %s %s\n", kDemoEmail, kDemoPassword);
        std::fflush(stdout);
    }
    svr.listen_after_bind();
    return 0;
}
