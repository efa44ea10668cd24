#pragma once
// The real service binary on a free loopback port, with a signed-in demo session for the
// cases that need one. The data folder is removed when the case ends.
#include "support/LocalServiceLauncher.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <string>

namespace service_test {

using nlohmann::json;

class RunningService {
public:
    RunningService()
    {
        m_launcher.start(HALVEX_SERVICE_BIN, {});
        port = m_launcher.port();
    }
    RunningService(const RunningService&) = delete;
    RunningService& operator=(const RunningService&) = delete;

    std::string origin() const { return "http://127.0.0.1:" + std::to_string(port); }
    const std::string& dataDir() const { return m_launcher.dataDir(); }
    // The first line the service printed: where it listens.
    const std::string& listeningLine() const { return m_launcher.listeningLine(); }

    // A client that passes the origin check, carrying `cookie` when given.
    httplib::Client client(const std::string& cookie = "") const
    {
        httplib::Client c("127.0.0.1", port);
        httplib::Headers headers{{"Origin", origin()}};
        if (!cookie.empty())
            headers.emplace("Cookie", cookie);
        c.set_default_headers(headers);
        return c;
    }
    // The session cookie of the demo account.
    std::string demoCookie() const
    {
        auto c = client();
        auto r = c.Post("/api/v2/auth/login", R"({"email":"demo@halvex.local","password":"demo-password"})",
                        "application/json");
        if (!r)
            return {};
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
    halvex::test::LocalServiceLauncher m_launcher;
};

inline json body(const httplib::Result& r) { return r ? json::parse(r->body, nullptr, false) : json(); }

} // namespace service_test
