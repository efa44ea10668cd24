#pragma once
// The employees' computers: one headless Chromium per employee with an open session, driven
// over its debugging port, its screencast kept for the live view. Sessions last 15 minutes on
// the service clock from their last use. Browsers start and stop on the runtime's own thread
// (a child dies with the thread that started it), which also expires sessions once a second
// and when the test clock moves. Held by the Service; every browser is stopped when it goes.
#include "core/Service.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace service {

class ChildProcess;
class DevToolsPage;

inline constexpr long long kComputerSessionSeconds = 15 * 60;

class ComputerRuntime {
public:
    struct View {
        std::string id, targetId, agentId, agentName, kind, url;
        long long userId = 0;
        long long expiresAt = 0; // service clock
        std::string unavailable; // why there is no browser; empty when there is one
    };

    explicit ComputerRuntime(Service& s);
    ~ComputerRuntime();
    ComputerRuntime(const ComputerRuntime&) = delete;
    ComputerRuntime& operator=(const ComputerRuntime&) = delete;

    // Where Chromium is installed, when it is.
    static std::optional<std::string> chromium();

    // Opens the employee's session, or reuses the open one (then `reused`), and shows `url` in
    // it. Without `withBrowser` the session has no browser and says why.
    View open(long long uid, const std::string& agentId, const std::string& agentName, const std::string& url,
              const std::string& kind, bool withBrowser, bool& reused);
    // The employee drives its browser to `url` in the background, opening a session when none
    // is open; nothing happens without Chromium.
    void browseLater(long long uid, const std::string& agentId, const std::string& agentName, const std::string& url);
    std::vector<View> sessionsOf(long long uid, const std::string& agentId);
    std::optional<View> find(const std::string& sessionId);
    // The live view's newest frame (JPEG), or nothing.
    std::optional<std::string> frame(const std::string& sessionId);
    // The service clock moved: sessions past their time end before this returns.
    void clockMoved();
    // The browser profile kept for the user's employee.
    std::string profileDir(long long uid, const std::string& agentId) const;

private:
    struct Session;
    void runOnWorker(const std::function<void()>& job, bool wait);
    void expireDue();
    std::shared_ptr<Session> sessionOf(long long uid, const std::string& agentId); // under m_lock
    void launch(Session& session, const std::string& url);

    Service& m_s;
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    std::deque<std::function<void()>> m_jobs;
    long long m_finishedJobs = 0, m_queuedJobs = 0;
    bool m_stopping = false;
    std::map<std::string, std::shared_ptr<Session>> m_sessions;
    std::thread m_worker;
};

// Created by addComputerRoutes before the server takes requests.
ComputerRuntime& computerRuntime(Service& s);

} // namespace service
