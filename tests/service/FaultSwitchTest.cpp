// The request-level fault switches: failing the next requests, dropping connections, added
// latency; and that a bad switch body is refused without changing anything.
#include "ChatTestSupport.h"

using namespace chattest;

namespace {

const char* kMe = "/api/v2/auth/me";

} // namespace

TEST(FaultSwitches, FailNextAnswersTheGivenStatusAndErrorThenRecovers)
{
    LiveService s;
    s.faults({{"fail_next", {{"count", 2}, {"status", 503}, {"error", "Down for maintenance"}}}});
    auto c = s.client();
    for (int i = 0; i < 2; ++i) {
        auto r = c.Get(kMe);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->status, 503);
        EXPECT_EQ(json::parse(r->body, nullptr, false)["error"], "Down for maintenance");
        EXPECT_EQ(r->get_header_value("Content-Type"), "application/json");
    }
    EXPECT_EQ(c.Get(kMe)->status, 200);

    // Defaults: one request, 500, a generic message; the switches themselves are never failed.
    s.faults({{"fail_next", json::object()}});
    EXPECT_EQ(s.get("/__test/streams")["open"], 0);
    auto r = c.Post(kResearcher, json{{"text", "hello"}}.dump(), "application/json");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 500);
    EXPECT_TRUE(json::parse(r->body, nullptr, false)["error"].is_string());
    // The failed send stored nothing.
    const json history = s.get(std::string(kResearcher) + "?limit=200");
    for (const auto& m : history["messages"])
        EXPECT_NE(m["content"], "hello");

    s.faults({{"fail_next", {{"count", 5}, {"status", 429}}}});
    EXPECT_EQ(c.Get(kMe)->status, 429);
    EXPECT_EQ(s.client().Delete("/__test/faults")->status, 200);
    EXPECT_EQ(c.Get(kMe)->status, 200);
}

TEST(FaultSwitches, DropNextClosesConnectionsWithoutAnAnswer)
{
    LiveService s;
    s.faults({{"drop_next", 2}});
    for (int i = 0; i < 2; ++i) {
        auto c = s.client();
        auto r = c.Get(kMe);
        EXPECT_FALSE(r) << "request " << i << " got an answer: " << (r ? r->body : "");
    }
    EXPECT_EQ(s.get(kMe)["email"], "demo@halvex.local");
}

TEST(FaultSwitches, LatencyHoldsEveryRequestButNotTheSwitches)
{
    LiveService s;
    s.faults({{"latency_ms", 150}});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(s.get(kMe)["email"], "demo@halvex.local");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
    EXPECT_EQ(s.client().Delete("/__test/faults")->status, 200);
}

TEST(FaultSwitches, MalformedSwitchBodiesAreRefusedOrIgnoredAndTheServiceStaysUp)
{
    LiveService s;
    auto c = s.client();
    auto bad = c.Post("/__test/faults", "{not json", "application/json");
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->status, 400);
    EXPECT_TRUE(json::parse(bad->body, nullptr, false)["error"].is_string());
    // Wrong types and out-of-range values change nothing.
    s.faults({{"fail_next", {{"count", "two"}, {"status", 42}, {"error", 7}}},
              {"latency_ms", "slow"},
              {"drop_next", -3},
              {"expire_sessions", "yes"},
              {"stream_fail_for_ms", 1.5}});
    auto r = c.Get(kMe);
    ASSERT_TRUE(r);
    // The one request the defaulted fail_next stands for, then normal answers.
    EXPECT_EQ(r->status, 500);
    EXPECT_EQ(c.Get(kMe)->status, 200);
    StreamReader stream(s, "/api/v2/custom-agents/a-researcher/chat/stream");
    EXPECT_TRUE(stream.waitForReady());
}
