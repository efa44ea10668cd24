// The live event stream of an employee chat and of a team conversation.
#include "Routes.h"

#include "chat/ChatAccess.h"
#include "chat/ChatRuntime.h"
#include "chat/StreamConnection.h"
#include "core/Http.h"

#include <chrono>
#include <csignal>

namespace service {

namespace {

long long steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The "refuse the next connections" switches; answers the refusal itself.
bool refusedByFault(Service& s, httplib::Response& res)
{
    int status = 0;
    {
        std::lock_guard guard(s.faults.lock);
        if (s.faults.streamFailCount > 0) {
            --s.faults.streamFailCount;
            status = s.faults.streamFailStatus;
        } else if (steadyMs() < s.faults.streamFailUntilMs) {
            status = s.faults.streamFailStatus;
        }
    }
    if (status)
        sendError(res, status, "The event stream is unavailable");
    return status != 0;
}

void openStream(Service& s, const ChatTarget& target, const httplib::Request& req, httplib::Response& res)
{
    auto connection = std::make_shared<StreamConnection>(s, target.chatKey, cookieValue(req, kCookie));
    res.set_header("Cache-Control", "no-cache");
    res.set_header("X-Accel-Buffering", "no");
    res.set_chunked_content_provider(
        "text/event-stream", [connection](size_t, httplib::DataSink& sink) { return connection->pump(sink); },
        [connection](bool) mutable { connection.reset(); });
}

} // namespace

void addStreamRoutes(httplib::Server& svr, Service& s)
{
    // A client that leaves mid-write must cost a failed write, not the process.
    std::signal(SIGPIPE, SIG_IGN);
    chatRuntime(s);

    svr.Get(R"(/api/v2/custom-agents/([A-Za-z0-9_-]+)/chat/stream)",
            [&](const httplib::Request& req, httplib::Response& res) {
                if (refusedByFault(s, res))
                    return;
                withAgentChat(s, req, res, [&](const ChatTarget& t) { openStream(s, t, req, res); });
            });
    svr.Get(R"(/api/v2/orchestrator-chat/([A-Za-z0-9_-]+)/stream)",
            [&](const httplib::Request& req, httplib::Response& res) {
                if (refusedByFault(s, res))
                    return;
                withTeamChat(s, req, res, [&](const ChatTarget& t) { openStream(s, t, req, res); });
            });
}

} // namespace service
