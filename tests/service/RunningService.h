#pragma once
// The real service binary on a free loopback port, with a signed-in demo session for the
// cases that need one. The data folder is removed when the case ends.
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace service_test {

using nlohmann::json;

class RunningService {
public:
    RunningService()
    {
        char dir[] = "/tmp/halvex-svc-XXXXXX";
        m_dir = mkdtemp(dir);
        const std::string cmd = std::string("exec ") + HALVEX_SERVICE_BIN + " --port 0 --data " + m_dir +
                                " --seed-demo --pace-ms 0 --test-mode --fast-hash & echo $!";
        m_out = popen(("sh -c '" + cmd + "'").c_str(), "r");
        char line[256];
        if (m_out && std::fgets(line, sizeof line, m_out)) m_pid = std::atoi(line);
        std::string demo;
        if (m_out && std::fgets(line, sizeof line, m_out)) m_listening = line;
        // The demo line comes after seeding: once read, the workspace is in place.
        if (m_out && std::fgets(line, sizeof line, m_out)) demo = line;
        const auto colon = m_listening.rfind(':');
        if (colon != std::string::npos) port = std::atoi(m_listening.c_str() + colon + 1);
    }
    ~RunningService()
    {
        if (m_pid > 0) kill(m_pid, SIGTERM);
        if (m_out) pclose(m_out);
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    RunningService(const RunningService&) = delete;
    RunningService& operator=(const RunningService&) = delete;

    std::string origin() const { return "http://127.0.0.1:" + std::to_string(port); }
    const std::string& dataDir() const { return m_dir; }
    // The first line the service printed: where it listens.
    const std::string& listeningLine() const { return m_listening; }

    // A client that passes the origin check, carrying `cookie` when given.
    httplib::Client client(const std::string& cookie = "") const
    {
        httplib::Client c("127.0.0.1", port);
        httplib::Headers headers{{"Origin", origin()}};
        if (!cookie.empty()) headers.emplace("Cookie", cookie);
        c.set_default_headers(headers);
        return c;
    }
    // The session cookie of the demo account.
    std::string demoCookie() const
    {
        auto c = client();
        auto r = c.Post("/api/v2/auth/login", R"({"email":"demo@halvex.local","password":"demo-password"})", "application/json");
        if (!r) return {};
        const std::string h = r->get_header_value("Set-Cookie");
        return h.substr(0, h.find(';'));
    }
    bool advanceClock(long long seconds) const
    {
        auto c = client();
        auto r = c.Post("/__test/clock", json{{"advance_seconds", seconds}}.dump(), "application/json");
        return r && r->status == 200;
    }

    int port = 0;

private:
    std::string m_dir;
    std::string m_listening;
    FILE* m_out = nullptr;
    int m_pid = 0;
};

inline json body(const httplib::Result& r) { return r ? json::parse(r->body, nullptr, false) : json(); }

} // namespace service_test
