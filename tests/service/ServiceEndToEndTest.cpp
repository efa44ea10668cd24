// Drives the real service binary over loopback HTTP.
#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

using nlohmann::json;

namespace {

class Service {
public:
    Service()
    {
        char dir[] = "/tmp/halvex-svc-XXXXXX";
        m_dir = mkdtemp(dir);
        const std::string cmd = std::string("exec ") + HALVEX_SERVICE_BIN + " --port 0 --data " + m_dir +
                                " --seed-demo --pace-ms 0 --test-mode --fast-hash & echo $!";
        m_out = popen(("sh -c '" + cmd + "'").c_str(), "r");
        char line[256];
        if (m_out && std::fgets(line, sizeof line, m_out)) m_pid = std::atoi(line);
        if (m_out && std::fgets(line, sizeof line, m_out)) m_first = line;
        if (m_out && std::fgets(line, sizeof line, m_out)) m_demo = line;
        const auto colon = m_first.rfind(':');
        if (colon != std::string::npos) port = std::atoi(m_first.c_str() + colon + 1);
    }
    ~Service()
    {
        if (m_pid > 0) kill(m_pid, SIGTERM);
        if (m_out) pclose(m_out);
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    httplib::Client client() const
    {
        httplib::Client c("127.0.0.1", port);
        c.set_default_headers({{"Origin", "http://127.0.0.1:" + std::to_string(port)}});
        return c;
    }
    std::string first() const { return m_first; }
    int port = 0;

private:
    std::string m_dir, m_first, m_demo;
    FILE* m_out = nullptr;
    int m_pid = 0;
};

std::string sessionCookie(const httplib::Result& r)
{
    const std::string h = r->get_header_value("Set-Cookie");
    return h.substr(0, h.find(';'));
}

} // namespace

TEST(ServiceEndToEnd, AnnouncesItsLoopbackAddress)
{
    Service s;
    EXPECT_EQ(s.first().rfind("listening on http://127.0.0.1:", 0), 0u);
    EXPECT_GT(s.port, 0);
}

TEST(ServiceEndToEnd, SignUpMeLogoutCycleWithCookieAttributes)
{
    Service s;
    auto c = s.client();
    auto up = c.Post("/api/v2/auth/signup", R"({"email":"  new@x.io\n","password":"longenough","time_zone":"UTC"})", "application/json");
    ASSERT_TRUE(up);
    ASSERT_EQ(up->status, 200) << up->body;
    EXPECT_EQ(json::parse(up->body)["user"]["email"], "new@x.io");
    const std::string setCookie = up->get_header_value("Set-Cookie");
    for (const char* attr : {"HttpOnly", "SameSite=Lax", "Path=/", "Max-Age=2592000"})
        EXPECT_NE(setCookie.find(attr), std::string::npos) << attr;

    const std::string cookie = sessionCookie(up);
    auto me = c.Get("/api/v2/auth/me", {{"Cookie", cookie}});
    ASSERT_EQ(me->status, 200);
    EXPECT_EQ(json::parse(me->body)["email"], "new@x.io");

    auto out = c.Post("/api/v2/auth/logout", {{"Cookie", cookie}}, "{}", "application/json");
    EXPECT_NE(out->get_header_value("Set-Cookie").find("Max-Age=0"), std::string::npos);
    auto after = c.Get("/api/v2/auth/me", {{"Cookie", cookie}});
    EXPECT_EQ(after->status, 401);
    EXPECT_EQ(json::parse(after->body)["error"], "Unauthorized");
}

TEST(ServiceEndToEnd, RejectsForeignOriginAndMalformedJson)
{
    Service s;
    httplib::Client bare("127.0.0.1", s.port);
    auto foreign = bare.Post("/api/v2/auth/login", {{"Origin", "http://evil.example"}}, "{}", "application/json");
    EXPECT_EQ(foreign->status, 403);
    EXPECT_EQ(json::parse(foreign->body)["error"], "CSRF check failed: origin not allowed");

    auto c = s.client();
    auto bad = c.Post("/api/v2/auth/login", "{\"email\":", "application/json");
    EXPECT_EQ(bad->status, 400);
    EXPECT_TRUE(json::parse(bad->body).contains("error"));
    EXPECT_EQ(c.Get("/api/v2/auth/me")->status, 401); // still alive
}

TEST(ServiceEndToEnd, SixthFailedSignInIsThrottled)
{
    Service s;
    auto c = s.client();
    int last = 0;
    for (int i = 0; i < 6; ++i)
        last = c.Post("/api/v2/auth/login", R"({"email":"demo@halvex.local","password":"wrong"})", "application/json")->status;
    EXPECT_EQ(last, 429);
    auto right = c.Post("/api/v2/auth/login", R"({"email":"demo@halvex.local","password":"demo-password"})", "application/json");
    EXPECT_EQ(right->status, 429);
    EXPECT_EQ(json::parse(right->body)["error"], "Too many sign-in attempts — try again in a few minutes.");
}

TEST(ServiceEndToEnd, AgentListCarriesUnreadCounts)
{
    Service s;
    auto c = s.client();
    auto in = c.Post("/api/v2/auth/login", R"({"email":"demo@halvex.local","password":"demo-password"})", "application/json");
    ASSERT_EQ(in->status, 200);
    auto list = c.Get("/api/v2/custom-agents?include_activity=1", {{"Cookie", sessionCookie(in)}});
    ASSERT_EQ(list->status, 200);
    const json body = json::parse(list->body);
    ASSERT_TRUE(body["agents"].is_array());
    EXPECT_GE(body["agents"].size(), 5u);
    EXPECT_EQ(body["unread"]["a-researcher"], 1);
    EXPECT_TRUE(body["orchestratorUnread"].contains("growth"));
    EXPECT_TRUE(body.contains("activity"));
}

TEST(ServiceEndToEnd, ArchivedEmployeeLeavesTheListButOrchestratorStays)
{
    Service s;
    auto c = s.client();
    auto in = c.Post("/api/v2/auth/login", R"({"email":"demo@halvex.local","password":"demo-password"})", "application/json");
    const httplib::Headers auth{{"Cookie", sessionCookie(in)}};
    for (const char* id : {"a-researcher", "a-orchestrator-growth"})
        ASSERT_EQ(c.Patch((std::string("/api/v2/custom-agents/") + id).c_str(), auth, R"({"status":"archived"})",
                          "application/json")->status, 200);
    const json body = json::parse(c.Get("/api/v2/custom-agents", auth)->body);
    bool researcher = false, orchestrator = false;
    for (const auto& a : body["agents"]) {
        researcher |= a["id"] == "a-researcher";
        orchestrator |= a["id"] == "a-orchestrator-growth";
    }
    EXPECT_FALSE(researcher);
    EXPECT_TRUE(orchestrator);
    EXPECT_EQ(c.Patch("/api/v2/custom-agents/nope", auth, "{}", "application/json")->status, 404);
}
