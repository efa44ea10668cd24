#include "computer/ComputerRuntime.h"

#include "computer/DevToolsPage.h"
#include "core/ChildProcess.h"
#include "core/Crypto.h"
#include "core/Http.h"
#include "google/ServiceClock.h"

#include <httplib.h>

#include <cstdio>
#include <filesystem>

namespace service {

namespace {

constexpr auto kBrowserStart = std::chrono::seconds(30);
constexpr const char* kNoBrowser = "No browser is available on this machine.";
constexpr const char* kNotStarted = "The browser could not be started on this machine.";

// "ws://127.0.0.1:40123/devtools/browser/…" → 40123.
int portOf(const std::string& line)
{
    const auto at = line.find("ws://");
    const auto colon = at == std::string::npos ? at : line.find(':', at + 5);
    if (colon == std::string::npos)
        return 0;
    int port = 0;
    for (size_t i = colon + 1; i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])) && port < 65536;
         ++i)
        port = port * 10 + (line[i] - '0');
    return port < 65536 ? port : 0;
}

// The first tab of the browser on `port`: its target id and the path of its debugging socket.
std::optional<std::pair<std::string, std::string>> firstTab(int port)
{
    httplib::Client c("127.0.0.1", port);
    c.set_connection_timeout(5, 0);
    c.set_read_timeout(5, 0);
    // The tab is listed a moment after the port opens.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (auto r = c.Get("/json/list"); r && r->status == 200) {
            const json list = json::parse(r->body, nullptr, false);
            for (const auto& t : list.is_array() ? list : json::array()) {
                const std::string ws = t.value("webSocketDebuggerUrl", std::string());
                const auto path = ws.find("/devtools/");
                if (t.value("type", std::string()) == "page" && path != std::string::npos)
                    return std::pair(t.value("id", std::string()), ws.substr(path));
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return std::nullopt;
}

} // namespace

struct ComputerRuntime::Session {
    ComputerRuntime::View view;
    // Declared in this order so the page lets go of the socket before the browser stops.
    std::unique_ptr<ChildProcess> browser;
    std::unique_ptr<DevToolsPage> page;
};

ComputerRuntime::ComputerRuntime(Service& s) : m_s(s)
{
    m_worker = std::thread([this] {
        std::unique_lock lock(m_lock);
        while (!m_stopping) {
            if (m_jobs.empty()) {
                m_wake.wait_for(lock, std::chrono::seconds(1));
                lock.unlock();
                expireDue();
                lock.lock();
                continue;
            }
            auto job = std::move(m_jobs.front());
            m_jobs.pop_front();
            lock.unlock();
            try {
                job();
            } catch (const std::exception& e) {
                std::fprintf(stderr, "computer: %s\n", e.what());
            }
            lock.lock();
            ++m_finishedJobs;
            m_done.notify_all();
        }
        m_jobs.clear();
        m_finishedJobs = m_queuedJobs;
        m_done.notify_all();
    });
}

ComputerRuntime::~ComputerRuntime()
{
    {
        std::lock_guard guard(m_lock);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_worker.joinable())
        m_worker.join();
    std::map<std::string, std::shared_ptr<Session>> sessions;
    {
        std::lock_guard guard(m_lock);
        sessions.swap(m_sessions);
    }
    for (auto& [id, session] : sessions)
        if (session->browser)
            session->browser->stop();
}

std::optional<std::string> ComputerRuntime::chromium()
{
    static const auto path = findProgram("chromium");
    return path;
}

void ComputerRuntime::runOnWorker(const std::function<void()>& job, bool wait)
{
    std::unique_lock lock(m_lock);
    if (m_stopping)
        return;
    m_jobs.push_back(job);
    const long long ticket = ++m_queuedJobs;
    m_wake.notify_all();
    if (wait)
        m_done.wait(lock, [&] { return m_finishedJobs >= ticket; });
}

std::string ComputerRuntime::profileDir(long long uid, const std::string& agentId) const
{
    std::string safe;
    for (char c : agentId)
        safe += std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' ? c : '_';
    return m_s.opt.dataDir + "/computer/" + safe + "-u" + std::to_string(uid);
}

void ComputerRuntime::launch(Session& session, const std::string& url)
{
    const auto program = chromium();
    if (!program) {
        session.view.unavailable = kNoBrowser;
        return;
    }
    const std::string profile = profileDir(session.view.userId, session.view.agentId);
    std::error_code ec;
    std::filesystem::create_directories(profile, ec);
    auto browser = std::make_unique<ChildProcess>();
    auto page = std::make_unique<DevToolsPage>();
    std::optional<std::pair<std::string, std::string>> tab;
    int port = 0;
    if (browser->start({*program, "--headless=new", "--remote-debugging-port=0", "--user-data-dir=" + profile,
                        "--no-sandbox", "--disable-gpu", "--no-first-run", "--no-default-browser-check", "--mute-audio",
                        "--window-size=1280,800", "about:blank"}))
        if (const auto line = browser->awaitLine("DevTools listening on ws://", kBrowserStart))
            port = portOf(*line);
    if (port > 0)
        tab = firstTab(port);
    if (!tab || !page->attach(port, tab->second) || !page->startScreencast()) {
        std::fprintf(stderr, "computer: the browser for %s did not start\n", session.view.agentId.c_str());
        session.view.unavailable = kNotStarted;
        return; // the page detaches and the browser stops as they go
    }
    session.view.targetId = tab->first;
    session.browser = std::move(browser);
    session.page = std::move(page);
    if (!url.empty())
        session.page->navigate(url);
}

std::shared_ptr<ComputerRuntime::Session> ComputerRuntime::sessionOf(long long uid, const std::string& agentId)
{
    for (auto& [id, session] : m_sessions)
        if (session->view.userId == uid && session->view.agentId == agentId)
            return session;
    return nullptr;
}

ComputerRuntime::View ComputerRuntime::open(long long uid, const std::string& agentId, const std::string& agentName,
                                            const std::string& url, const std::string& kind, bool withBrowser,
                                            bool& reused)
{
    View answer;
    runOnWorker(
        [&] {
            std::shared_ptr<Session> session;
            {
                std::lock_guard guard(m_lock);
                session = sessionOf(uid, agentId);
                if (session)
                    session->view.expiresAt = serviceNow(m_s) + kComputerSessionSeconds;
            }
            reused = session != nullptr;
            if (!session) {
                session = std::make_shared<Session>();
                session->view = {"cs-" + randomHex(12),
                                 "",
                                 agentId,
                                 agentName,
                                 kind,
                                 url,
                                 uid,
                                 serviceNow(m_s) + kComputerSessionSeconds,
                                 kNoBrowser};
                if (withBrowser) {
                    session->view.unavailable.clear();
                    launch(*session, url);
                }
                std::lock_guard guard(m_lock);
                m_sessions[session->view.id] = session;
            } else if (session->page && !url.empty()) {
                session->page->navigate(url);
            }
            std::lock_guard guard(m_lock);
            if (!url.empty())
                session->view.url = url;
            answer = session->view;
        },
        true);
    return answer;
}

void ComputerRuntime::browseLater(long long uid, const std::string& agentId, const std::string& agentName,
                                  const std::string& url)
{
    if (!chromium())
        return;
    runOnWorker(
        [=, this] {
            std::shared_ptr<Session> session;
            {
                std::lock_guard guard(m_lock);
                session = sessionOf(uid, agentId);
            }
            if (session && !session->page)
                return; // a session the user opened without a browser stays that way
            if (!session) {
                auto fresh = std::make_shared<Session>();
                fresh->view = {"cs-" + randomHex(12),
                               "",
                               agentId,
                               agentName,
                               "agent",
                               url,
                               uid,
                               serviceNow(m_s) + kComputerSessionSeconds,
                               ""};
                launch(*fresh, url);
                if (!fresh->page)
                    return;
                std::lock_guard guard(m_lock);
                m_sessions[fresh->view.id] = fresh;
                return;
            }
            session->page->navigate(url);
            std::lock_guard guard(m_lock);
            session->view.url = url;
            session->view.expiresAt = serviceNow(m_s) + kComputerSessionSeconds;
        },
        false);
}

std::vector<ComputerRuntime::View> ComputerRuntime::sessionsOf(long long uid, const std::string& agentId)
{
    const long long now = serviceNow(m_s);
    std::vector<View> out;
    std::lock_guard guard(m_lock);
    for (const auto& [id, session] : m_sessions)
        if (session->view.userId == uid && session->view.agentId == agentId && session->view.expiresAt > now)
            out.push_back(session->view);
    return out;
}

std::optional<ComputerRuntime::View> ComputerRuntime::find(const std::string& sessionId)
{
    std::lock_guard guard(m_lock);
    const auto it = m_sessions.find(sessionId);
    if (it == m_sessions.end() || it->second->view.expiresAt <= serviceNow(m_s))
        return std::nullopt;
    return it->second->view;
}

std::optional<std::string> ComputerRuntime::frame(const std::string& sessionId)
{
    std::shared_ptr<Session> session;
    {
        std::lock_guard guard(m_lock);
        const auto it = m_sessions.find(sessionId);
        if (it == m_sessions.end() || it->second->view.expiresAt <= serviceNow(m_s) || !it->second->page)
            return std::nullopt;
        session = it->second;
    }
    return session->page->frame();
}

void ComputerRuntime::expireDue()
{
    std::vector<std::shared_ptr<Session>> due;
    {
        std::lock_guard guard(m_lock);
        const long long now = serviceNow(m_s);
        for (auto it = m_sessions.begin(); it != m_sessions.end();) {
            auto here = it++;
            if (here->second->view.expiresAt <= now) {
                due.push_back(here->second);
                m_sessions.erase(here);
            }
        }
    }
    // Stopping the browser closes its socket, so a frame request still holding the session
    // fails at once; the session itself goes with its last holder.
    for (auto& session : due)
        if (session->browser)
            session->browser->stop();
}

void ComputerRuntime::clockMoved()
{
    runOnWorker([this] { expireDue(); }, true);
}

ComputerRuntime& computerRuntime(Service& s)
{
    if (!s.computer)
        s.computer = std::make_shared<ComputerRuntime>(s);
    return *s.computer;
}

} // namespace service
