// The employees' computers against the real service: the state and its providers, a session
// opened in headless Chromium with a live view that shows real frames, kept to its employee,
// ended by the service clock; a research turn drives the employee's browser by itself.
#include "ChatTestSupport.h"
#include "TestClock.h"

#include "core/ChildProcess.h"

using namespace chattest;

namespace {

const char* kComputer = "/api/v2/user/computer";

json state(const LiveService& s, const std::string& agentId)
{
    return s.get(std::string(kComputer) + "?agent_id=" + agentId + "&workspace_scope=agent")["computer"];
}

json open(const LiveService& s, const std::string& agentId, const std::string& url)
{
    return s.post(kComputer,
                  {{"action", "open"}, {"agent_id", agentId}, {"workspace_scope", "agent"}, {"start_url", url}});
}

// The path of an address on this service.
std::string pathOf(const LiveService& s, const std::string& url)
{
    EXPECT_EQ(url.rfind(s.origin(), 0), 0u) << url;
    return url.substr(s.origin().size());
}

// Polls until `ready` holds or the hang guard runs out; each poll is a real request.
bool pollUntil(const std::function<bool()>& ready)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(40);
    while (!ready()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

bool chromiumInstalled() { return service::findProgram("chromium").has_value(); }

} // namespace

TEST(Computer, StateNamesTheProvidersAndTheChoiceIsKept)
{
    LiveService s;
    const json computer = state(s, "a-researcher");
    ASSERT_EQ(computer["providers"].size(), 2u);
    EXPECT_EQ(computer["providers"][0]["id"], "local-chromium");
    EXPECT_EQ(computer["providers"][0]["configured"], chromiumInstalled());
    EXPECT_EQ(computer["providers"][1], json({{"id", "none"}, {"label", "No browser"}, {"configured", true}}));
    EXPECT_EQ(computer["provider"], chromiumInstalled() ? "local-chromium" : "none");
    EXPECT_EQ(computer["session_active"], false);
    EXPECT_EQ(computer["agent_sessions"], json::array());

    s.get(std::string(kComputer) + "?agent_id=a-nobody", 404);
    s.post(kComputer, {{"action", "set-provider"}, {"provider", "cloud-9"}}, 400);
    s.post(kComputer, {{"action", "reboot"}}, 400);
    s.post(kComputer, {{"action", "open"}, {"agent_id", "a-nobody"}}, 404);
    s.post(kComputer, {{"action", "open"}, {"agent_id", "a-researcher"}, {"start_url", "file:///etc/passwd"}}, 400);
    // A malformed agent id leaves the choice as it was.
    s.post(kComputer, {{"action", "set-provider"}, {"provider", "none"}, {"agent_id", 7}}, 400);
    EXPECT_EQ(state(s, "a-researcher")["provider"], chromiumInstalled() ? "local-chromium" : "none");
    s.post(kComputer, {{"action", "set-provider"}, {"provider", "none"}, {"agent_id", "a-researcher"}});
    EXPECT_EQ(state(s, "a-researcher")["provider"], "none");
}

TEST(Computer, ASiteTheUserOpensForAnEmployeeIsHandedOverToThatEmployeeOnly)
{
    LiveService s;
    s.post(kComputer, {{"action", "set-provider"}, {"provider", "none"}});
    EXPECT_EQ(state(s, "a-researcher")["handoff_sites"], json::array());
    open(s, "a-researcher", "https://me:pw@WWW.Example.com:8443/login?next=/");
    open(s, "a-researcher", "https://www.example.com/again");
    open(s, "a-researcher", "https://bad host.example/");
    const json sites = state(s, "a-researcher")["handoff_sites"];
    ASSERT_EQ(sites.size(), 1u) << sites.dump();
    EXPECT_EQ(sites[0]["hostname"], "www.example.com");
    EXPECT_FALSE(sites[0]["at"].get<std::string>().empty());
    EXPECT_EQ(state(s, "a-support")["handoff_sites"], json::array());
}

TEST(Computer, WithoutABrowserTheLiveViewSaysSoPlainly)
{
    LiveService s;
    s.post(kComputer, {{"action", "set-provider"}, {"provider", "none"}});
    const json opened = open(s, "a-researcher", s.origin() + "/demo-sites/");
    EXPECT_EQ(opened["ok"], true);
    EXPECT_EQ(opened["reused"], false);
    const auto page = s.client().Get(pathOf(s, opened["live_view_url"]));
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("No browser is available on this machine."), std::string::npos) << page->body;
    EXPECT_EQ(s.client().Get(pathOf(s, opened["live_view_url"]) + "/frame.jpg")->status, 404);
}

TEST(Computer, ASessionShowsLiveFramesToItsEmployeeOnlyUntilItExpires)
{
    if (!chromiumInstalled())
        GTEST_SKIP() << "Chromium is not installed";
    LiveService s;
    const json opened = open(s, "a-researcher", s.origin() + "/demo-sites/");
    ASSERT_EQ(opened["ok"], true) << opened;
    EXPECT_EQ(opened["reused"], false);
    EXPECT_FALSE(opened["target_id"].get<std::string>().empty());
    const std::string live = pathOf(s, opened["live_view_url"]);

    const json again = open(s, "a-researcher", "");
    EXPECT_EQ(again["reused"], true);
    EXPECT_EQ(again["session_id"], opened["session_id"]);

    const json mine = state(s, "a-researcher");
    EXPECT_EQ(mine["status"], "active");
    EXPECT_EQ(mine["session_id"], opened["session_id"]);
    ASSERT_EQ(mine["agent_sessions"].size(), 1u);
    EXPECT_EQ(mine["agent_sessions"][0]["agent_id"], "a-researcher");
    EXPECT_EQ(mine["agent_sessions"][0]["agent_name"], "Researcher");
    EXPECT_EQ(mine["agent_sessions"][0]["live_view_url"], opened["live_view_url"]);
    EXPECT_EQ(state(s, "a-support")["agent_sessions"], json::array());
    httplib::Client stranger("127.0.0.1", s.port);
    stranger.set_default_headers({{"Origin", s.origin()}, {"Cookie", s.signUp("watcher@example.com")}});
    EXPECT_EQ(stranger.Get(std::string(kComputer) + "?agent_id=a-researcher")->status, 404);

    const auto page = s.client().Get(live);
    ASSERT_TRUE(page);
    EXPECT_NE(page->body.find("<title>Researcher&#39;s computer</title>"), std::string::npos) << page->body;
    std::string jpeg;
    EXPECT_TRUE(pollUntil([&] {
        auto r = s.client().Get(live + "/frame.jpg");
        if (r && r->status == 200)
            jpeg = r->body;
        return !jpeg.empty();
    }));
    ASSERT_GE(jpeg.size(), 3u);
    EXPECT_EQ(jpeg.substr(0, 3), "\xFF\xD8\xFF");

    ASSERT_TRUE(advanceClock(s, 16 * 60));
    EXPECT_EQ(state(s, "a-researcher")["agent_sessions"], json::array());
    EXPECT_EQ(s.client().Get(live)->status, 404);
    EXPECT_EQ(s.client().Get(live + "/frame.jpg")->status, 404);
    EXPECT_EQ(open(s, "a-researcher", "")["reused"], false) << "an expired session is not reused";
}

TEST(Computer, AResearchTurnDrivesTheEmployeesBrowser)
{
    if (!chromiumInstalled())
        GTEST_SKIP() << "Chromium is not installed";
    LiveService s;
    s.post(kResearcher, {{"mode", "live"}, {"client_request_id", "turn-browse"}, {"text", "Research the top CRMs"}});
    json session;
    ASSERT_TRUE(pollUntil([&] {
        const json sessions = state(s, "a-researcher")["agent_sessions"];
        if (!sessions.empty())
            session = sessions[0];
        return !session.is_null();
    }));
    EXPECT_EQ(session["session_kind"], "agent");
    EXPECT_EQ(open(s, "a-researcher", "")["reused"], true);
    // Its browse steps carry "browser_view", which is what sends the chat to the live view.
    const json history = s.get(std::string(kResearcher) + "?limit=50");
    int browsing = 0;
    for (const json& m : history["messages"])
        if (m["metadata"].value("tool", std::string()) == "browser_navigate")
            browsing += m["metadata"].contains("browser_view") ? 1 : -100;
    EXPECT_GT(browsing, 0);
    EXPECT_TRUE(pollUntil([&] {
        auto r = s.client().Get(pathOf(s, session["live_view_url"]) + "/frame.jpg");
        return r && r->status == 200 && r->body.rfind("\xFF\xD8\xFF", 0) == 0;
    }));
}
