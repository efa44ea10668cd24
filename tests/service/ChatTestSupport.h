#pragma once
// The real service for chat and stream tests: started with test switches, signed in as the
// demo user, with a reader for its event stream. Waits are bounded by a hang guard only.
#include "support/LocalServiceLauncher.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <functional>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace chattest {

using nlohmann::json;

inline constexpr auto kHangGuard = std::chrono::seconds(15);

class LiveService {
public:
    // With `dataDir` the service runs on that folder and leaves it in place, so a second
    // service can start on the same data.
    explicit LiveService(const std::string& extraArgs = "--ping-ms 200", const std::string& dataDir = {})
    {
        halvex::test::LocalServiceLauncher::Options options;
        options.dataDir = dataDir;
        std::istringstream words(extraArgs);
        for (std::string w; words >> w;)
            options.extraArgs.push_back(w);
        m_launcher.start(HALVEX_SERVICE_BIN, options);
        port = m_launcher.port();
        cookie = signIn(m_launcher.demoEmail(), m_launcher.demoPassword());
    }
    // Ends the process with `signal`; SIGKILL leaves it no chance to tidy up.
    void stop(int signal) { m_launcher.stop(signal); }
    LiveService(const LiveService&) = delete;
    LiveService& operator=(const LiveService&) = delete;

    std::string origin() const { return "http://127.0.0.1:" + std::to_string(port); }

    // A client carrying the origin header and, unless told otherwise, the demo session.
    httplib::Client client(bool signedIn = true) const
    {
        httplib::Client c("127.0.0.1", port);
        httplib::Headers headers{{"Origin", origin()}};
        if (signedIn)
            headers.emplace("Cookie", cookie);
        c.set_default_headers(headers);
        c.set_read_timeout(15, 0);
        return c;
    }

    std::string signIn(const std::string& email, const std::string& password) const
    {
        httplib::Client c("127.0.0.1", port);
        c.set_default_headers({{"Origin", origin()}});
        const json body{{"email", email}, {"password", password}};
        auto r = c.Post("/api/v2/auth/login", body.dump(), "application/json");
        if (!r || r->status != 200)
            return {};
        const std::string h = r->get_header_value("Set-Cookie");
        return h.substr(0, h.find(';'));
    }

    std::string signUp(const std::string& email) const
    {
        httplib::Client c("127.0.0.1", port);
        c.set_default_headers({{"Origin", origin()}});
        const json body{{"email", email}, {"password", "longenough"}, {"time_zone", "UTC"}};
        auto r = c.Post("/api/v2/auth/signup", body.dump(), "application/json");
        if (!r || r->status != 200)
            return {};
        const std::string h = r->get_header_value("Set-Cookie");
        return h.substr(0, h.find(';'));
    }

    json get(const std::string& path, int expectStatus = 200) const
    {
        auto r = client().Get(path);
        EXPECT_TRUE(r) << path;
        if (!r)
            return {};
        EXPECT_EQ(r->status, expectStatus) << path << " " << r->body;
        return json::parse(r->body, nullptr, false);
    }
    json post(const std::string& path, const json& body, int expectStatus = 200) const
    {
        auto r = client().Post(path, body.dump(), "application/json");
        EXPECT_TRUE(r) << path;
        if (!r)
            return {};
        EXPECT_EQ(r->status, expectStatus) << path << " " << r->body;
        return json::parse(r->body, nullptr, false);
    }
    void faults(const json& body) const { post("/__test/faults", body); }

    int port = 0;
    std::string cookie;

private:
    halvex::test::LocalServiceLauncher m_launcher;
};

struct Event {
    std::string name;
    json data;
};

// Reads one event stream on a thread of its own; the connection closes when the reader goes.
class StreamReader {
public:
    StreamReader(const LiveService& service, std::string path, std::string cookie = {})
    {
        m_thread = std::thread([this, port = service.port, origin = service.origin(), path = std::move(path),
                                cookie = cookie.empty() ? service.cookie : cookie] {
            httplib::Client c("127.0.0.1", port);
            c.set_read_timeout(15, 0);
            httplib::Headers headers{{"Origin", origin}, {"Cookie", cookie}, {"Accept", "text/event-stream"}};
            auto r = c.Get(
                path.c_str(), headers,
                [this](const httplib::Response& res) {
                    std::lock_guard guard(m_lock);
                    m_status = res.status;
                    m_changed.notify_all();
                    return !m_stop;
                },
                [this](const char* data, size_t n) { return feed(std::string(data, n)); });
            std::lock_guard guard(m_lock);
            if (r && m_status == 0)
                m_status = r->status;
            if (r)
                m_body = r->body;
            m_ended = true;
            m_changed.notify_all();
        });
    }
    ~StreamReader() { close(); }

    // The connection drops at the next bytes the service sends.
    void requestStop()
    {
        std::lock_guard guard(m_lock);
        m_stop = true;
    }
    void close()
    {
        requestStop();
        if (m_thread.joinable())
            m_thread.join();
    }

    // True when `condition` held over the events seen before the hang guard ran out.
    bool waitFor(const std::function<bool(const std::vector<Event>&)>& condition)
    {
        std::unique_lock guard(m_lock);
        return m_changed.wait_for(guard, kHangGuard, [&] { return condition(m_events); });
    }
    bool waitForEnd()
    {
        std::unique_lock guard(m_lock);
        return m_changed.wait_for(guard, kHangGuard, [&] { return m_ended; });
    }
    bool waitForReady()
    {
        return waitFor([](const std::vector<Event>& e) { return !e.empty() && e.front().name == "ready"; });
    }
    std::vector<Event> events()
    {
        std::lock_guard guard(m_lock);
        return m_events;
    }
    // Message events only, in arrival order.
    std::vector<Event> messages()
    {
        std::vector<Event> out;
        for (auto& e : events())
            if (e.name == "message" || e.name == "message-insert")
                out.push_back(e);
        return out;
    }
    int status()
    {
        std::lock_guard guard(m_lock);
        return m_status;
    }

private:
    bool feed(const std::string& bytes)
    {
        std::lock_guard guard(m_lock);
        m_buffer += bytes;
        size_t end;
        while ((end = m_buffer.find('\n')) != std::string::npos) {
            const std::string line = m_buffer.substr(0, end);
            m_buffer.erase(0, end + 1);
            if (line.empty()) {
                if (!m_name.empty() || !m_data.empty())
                    m_events.push_back({m_name.empty() ? "message" : m_name, json::parse(m_data, nullptr, false)});
                m_name.clear();
                m_data.clear();
            } else if (line.rfind("event: ", 0) == 0)
                m_name = line.substr(7);
            else if (line.rfind("data: ", 0) == 0)
                m_data += line.substr(6);
        }
        m_changed.notify_all();
        return !m_stop;
    }

    std::mutex m_lock;
    std::condition_variable m_changed;
    std::thread m_thread;
    std::vector<Event> m_events;
    std::string m_buffer, m_name, m_data, m_body;
    int m_status = 0;
    bool m_stop = false;
    bool m_ended = false;
};

inline std::string kindOf(const json& message)
{
    return message.contains("metadata") ? message["metadata"].value("kind", std::string()) : std::string();
}
inline std::string statusOf(const json& message)
{
    return message.contains("metadata") ? message["metadata"].value("status", std::string()) : std::string();
}
// The turn is over once its usage line arrived.
inline bool hasTurnSpend(const std::vector<Event>& events, size_t atLeast = 1)
{
    size_t n = 0;
    for (const auto& e : events)
        if ((e.name == "message" || e.name == "message-insert") && kindOf(e.data) == "turn_spend")
            ++n;
    return n >= atLeast;
}

inline const char* kResearcher = "/api/v2/custom-agents/a-researcher/chat";

} // namespace chattest
