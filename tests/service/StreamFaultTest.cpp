// The event stream's framing, authentication, keep-alive, connection clean-up and fault switches.
#include "ChatTestSupport.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

using namespace chattest;

namespace {

const char* kStream = "/api/v2/custom-agents/a-researcher/chat/stream";

void sendTurn(const LiveService& s, const std::string& text)
{
    s.post(kResearcher, {{"mode", "live"}, {"text", text}});
}

std::vector<long long> insertedIds(const std::vector<Event>& events)
{
    std::vector<long long> ids;
    for (const auto& e : events)
        if (e.name == "message-insert")
            ids.push_back(e.data["id"]);
    return ids;
}

// Asks the service again until `condition` holds; the pause paces the questions to another
// process, it times nothing of ours.
bool serviceEventually(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + kHangGuard;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

bool openStreamsReach(const LiveService& s, size_t n)
{
    return serviceEventually([&] { return s.get("/__test/streams")["open"].get<size_t>() == n; });
}

// The newest stored message of the researcher's chat is the spend line: the turn is over.
bool turnStored(const LiveService& s)
{
    return serviceEventually([&] {
        const json history = s.get(std::string(kResearcher) + "?limit=1");
        return !history["messages"].empty() && kindOf(history["messages"][0]) == "turn_spend";
    });
}

} // namespace

TEST(StreamFaults, ReadyFirstThenPingsWhileIdleAndA401WithoutASession)
{
    LiveService s;
    StreamReader stream(s, kStream);
    ASSERT_TRUE(stream.waitFor([](const auto& e) {
        return std::count_if(e.begin(), e.end(), [](const Event& ev) { return ev.name == "ping"; }) >= 2;
    }));
    EXPECT_EQ(stream.status(), 200);
    EXPECT_EQ(stream.events().front().name, "ready");

    StreamReader anonymous(s, kStream, "hx-v2-session=nothing");
    ASSERT_TRUE(anonymous.waitForEnd());
    EXPECT_EQ(anonymous.status(), 401);
    StreamReader unknown(s, "/api/v2/custom-agents/nobody/chat/stream");
    ASSERT_TRUE(unknown.waitForEnd());
    EXPECT_EQ(unknown.status(), 404);
}

TEST(StreamFaults, AnExpiredSessionEndsAnOpenStreamAndTheReconnectGets401)
{
    LiveService s;
    StreamReader stream(s, kStream);
    ASSERT_TRUE(stream.waitForReady());
    s.faults({{"expire_sessions", true}});
    ASSERT_TRUE(stream.waitForEnd());
    StreamReader again(s, kStream);
    ASSERT_TRUE(again.waitForEnd());
    EXPECT_EQ(again.status(), 401);
}

TEST(StreamFaults, ClientsThatLeaveFreeTheirConnections)
{
    LiveService s;
    // More streams than the server has threads: a leaked one would leave the last ones unserved.
    for (int round = 0; round < 2; ++round) {
        std::vector<std::unique_ptr<StreamReader>> streams;
        for (int i = 0; i < 20; ++i)
            streams.push_back(std::make_unique<StreamReader>(s, kStream));
        for (auto& st : streams)
            ASSERT_TRUE(st->waitForReady());
        EXPECT_EQ(s.get("/__test/streams")["open"], 20);
        for (auto& st : streams)
            st->requestStop();
        streams.clear();
        ASSERT_TRUE(openStreamsReach(s, 0)) << "round " << round;
    }
    EXPECT_EQ(s.get(std::string(kResearcher) + "?limit=1")["messages"].size(), 1u);
}

TEST(StreamFaults, RefusesTheNextConnectionsWithAJson503)
{
    LiveService s;
    s.faults({{"stream_fail_next", {{"count", 2}, {"status", 503}}}});
    auto c = s.client();
    for (int i = 0; i < 2; ++i) {
        auto r = c.Get(kStream);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->status, 503);
        EXPECT_TRUE(json::parse(r->body, nullptr, false).contains("error"));
    }
    StreamReader third(s, kStream);
    EXPECT_TRUE(third.waitForReady());

    s.faults({{"stream_fail_for_ms", 60000}});
    EXPECT_EQ(c.Get(kStream)->status, 503);
    EXPECT_EQ(c.Get(kStream)->status, 503);
    EXPECT_EQ(s.client().Delete("/__test/faults")->status, 200);
    StreamReader afterReset(s, kStream);
    EXPECT_TRUE(afterReset.waitForReady());
}

TEST(StreamFaults, DropAfterNEventsClosesEachConnectionAndHistoryStillHasTheRest)
{
    LiveService s;
    s.faults({{"stream_drop_after", 2}});
    StreamReader stream(s, kStream);
    ASSERT_TRUE(stream.waitForReady());
    sendTurn(s, "research pricing");
    ASSERT_TRUE(stream.waitForEnd());
    EXPECT_EQ(stream.messages().size(), 2u);
    const long long first = stream.messages().front().data["id"];
    // The heal poll's view once the turn is over (it goes on after the stream is cut): nothing
    // was lost, only not streamed.
    ASSERT_TRUE(turnStored(s));
    const json stored = s.get(std::string(kResearcher) + "?since=" + std::to_string(first - 1));
    EXPECT_GT(stored["messages"].size(), 4u);
}

TEST(StreamFaults, DuplicatesAndReordersDoWhatTheySay)
{
    LiveService s;
    StreamReader stream(s, kStream);
    ASSERT_TRUE(stream.waitForReady());
    s.faults({{"stream_duplicate_next", 1}});
    sendTurn(s, "hello");
    ASSERT_TRUE(stream.waitFor([](const auto& e) { return hasTurnSpend(e); }));
    auto events = stream.messages();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0].data, events[1].data) << "the user turn arrives twice";
    EXPECT_EQ(events[0].name, "message-insert");

    StreamReader second(s, kStream);
    ASSERT_TRUE(second.waitForReady());
    s.faults({{"stream_reorder_next", 1}});
    sendTurn(s, "hello again");
    ASSERT_TRUE(second.waitFor([](const auto& e) { return hasTurnSpend(e); }));
    const auto ids = insertedIds(second.messages());
    ASSERT_GE(ids.size(), 3u);
    EXPECT_GT(ids[0], ids[1]) << "the first event comes after the one that followed it";
    EXPECT_LT(ids[1], ids[2]);
}

TEST(StreamFaults, DelayedEventsStillArriveWholeAndInOrder)
{
    LiveService s;
    s.faults({{"stream_delay_ms", 20}});
    StreamReader stream(s, kStream);
    ASSERT_TRUE(stream.waitForReady());
    sendTurn(s, "research pricing");
    ASSERT_TRUE(stream.waitFor([](const auto& e) { return hasTurnSpend(e); }));
    const auto ids = insertedIds(stream.messages());
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
    for (const auto& e : stream.messages())
        EXPECT_TRUE(e.data.is_object());
}

TEST(StreamFaults, ClearingTheSwitchesReleasesAnEventStillHeldForReordering)
{
    LiveService s;
    StreamReader stream(s, kStream);
    ASSERT_TRUE(stream.waitForReady());
    // Every event waits for its successor; a plain turn has five, so the last one is left over.
    s.faults({{"stream_reorder_next", 1000}});
    sendTurn(s, "hello");
    ASSERT_TRUE(stream.waitFor([](const auto& e) {
        return std::count_if(e.begin(), e.end(), [](const Event& x) { return x.name != "ready" && x.name != "ping"; })
            >= 4;
    }));
    ASSERT_TRUE(turnStored(s));
    EXPECT_FALSE(hasTurnSpend(stream.events()));
    EXPECT_EQ(s.client().Delete("/__test/faults")->status, 200);
    EXPECT_TRUE(stream.waitFor([](const auto& e) { return hasTurnSpend(e); }));
}
