// Drives the real service binary over loopback HTTP: accounts, sessions and the origin check.
#include "RunningService.h"

#include <gtest/gtest.h>

using nlohmann::json;
using service_test::RunningService;

namespace {

std::string sessionCookie(const httplib::Result& r)
{
    const std::string h = r->get_header_value("Set-Cookie");
    return h.substr(0, h.find(';'));
}

} // namespace

TEST(ServiceEndToEnd, AnnouncesItsLoopbackAddress)
{
    RunningService s;
    EXPECT_EQ(s.listeningLine().rfind("listening on http://127.0.0.1:", 0), 0u);
    EXPECT_GT(s.port, 0);
}

TEST(ServiceEndToEnd, SignUpMeLogoutCycleWithCookieAttributes)
{
    RunningService s;
    auto c = s.client();
    auto up = c.Post("/api/v2/auth/signup", R"({"email":"  new@x.io\n","password":"longenough","time_zone":"UTC"})",
                     "application/json");
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

TEST(ServiceEndToEnd, SixthFailedSignInIsThrottled)
{
    RunningService s;
    auto c = s.client();
    int last = 0;
    for (int i = 0; i < 6; ++i)
        last = c.Post("/api/v2/auth/login", R"({"email":"demo@halvex.local","password":"wrong"})", "application/json")
                   ->status;
    EXPECT_EQ(last, 429);
    auto right = c.Post("/api/v2/auth/login", R"({"email":"demo@halvex.local","password":"demo-password"})",
                        "application/json");
    EXPECT_EQ(right->status, 429);
    EXPECT_EQ(json::parse(right->body)["error"], "Too many sign-in attempts — try again in a few minutes.");
}

TEST(ServiceEndToEnd, ArchivedEmployeeLeavesTheListButOrchestratorStays)
{
    RunningService s;
    auto c = s.client();
    const httplib::Headers auth{{"Cookie", s.demoCookie()}};
    for (const char* id : {"a-researcher", "a-orchestrator-growth"})
        ASSERT_EQ(c.Patch((std::string("/api/v2/custom-agents/") + id).c_str(), auth, R"({"status":"archived"})",
                          "application/json")
                      ->status,
                  200);
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
