#include "core/net/sse/EventStream.h"
#include "core/async/ManualClock.h"
#include "core/net/PersistentCookieJar.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

const QString kPath = QStringLiteral("/api/v2/custom-agents/a1/chat/stream");

class EventStreamTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    PersistentCookieJar jar{QString()};
    std::unique_ptr<EventStream> stream = std::make_unique<EventStream>(server.origin(), &jar, &clock);
    QList<SSERawEvent> events;
    int reconnects = 0;
    int unauthorized = 0;

    void SetUp() override
    {
        stream->onEvent = [this](const SSERawEvent& e) { events.append(e); };
        stream->onReconnect = [this] { ++reconnects; };
        stream->onUnauthorized = [this] { ++unauthorized; };
    }

    int attempts() const { return server.count("GET", kPath); }
    bool waitForAttempts(int n)
    {
        return processUntil([&] { return attempts() >= n; });
    }
};

TEST_F(EventStreamTest, DeliversEventsWithStreamHeaders)
{
    server.on("GET", kPath, FakeResponse::eventStream());
    stream->start(kPath);
    ASSERT_TRUE(processUntil([&] { return server.streams().size() == 1; }));
    EXPECT_EQ(server.last().header("Accept"), "text/event-stream");
    EXPECT_EQ(server.last().header("Origin"), server.originText().toUtf8());
    server.streams()[0]->push("event: ready\n\n: ping\ndata: {\"id\":");
    server.streams()[0]->push("1}\r\n\r\nevent: ping\ndata:\n\n");
    ASSERT_TRUE(processUntil([&] { return events.size() == 3; }));
    EXPECT_EQ(events[0].event, QStringLiteral("ready"));
    EXPECT_EQ(events[1], (SSERawEvent{QStringLiteral("message"), QStringLiteral("{\"id\":1}")}));
    EXPECT_EQ(events[2].event, QStringLiteral("ping"));
    EXPECT_EQ(reconnects, 0);
}

TEST_F(EventStreamTest, BacksOffOneTwoFourUpToThirtyWhileFailing)
{
    server.on("GET", kPath, FakeResponse::json(503, R"({"error":"busy"})"));
    stream->start(kPath);
    ASSERT_TRUE(waitForAttempts(1));
    const QList<qint64> expected = {1, 2, 4, 8, 16, 30, 30};
    for (int i = 0; i < expected.size(); ++i) {
        // Until the answer is in, the only timer is the 35-second idle one.
        ASSERT_TRUE(processUntil([&] { return clock.nextDueIn() == expected[i] * 1000; })) << "delay " << i;
        EXPECT_EQ(clock.pendingCount(), 1);
        clock.advance(expected[i] * 1000 - 1);
        EXPECT_EQ(reconnects, i);
        clock.advance(1);
        EXPECT_EQ(reconnects, i + 1);
        ASSERT_TRUE(waitForAttempts(i + 2));
    }
    EXPECT_EQ(unauthorized, 0);
}

TEST_F(EventStreamTest, NormalEndWaitsOneSecondAndNextFailureTwo)
{
    server.enqueue("GET", kPath, FakeResponse::json(200, "data: x\n\n"));
    server.on("GET", kPath, FakeResponse::json(500, "{}"));
    stream->start(kPath);
    ASSERT_TRUE(processUntil([&] { return clock.nextDueIn() == 1000; }));
    EXPECT_EQ(events.size(), 1);
    clock.advance(1000);
    ASSERT_TRUE(waitForAttempts(2));
    ASSERT_TRUE(processUntil([&] { return clock.nextDueIn() == 2000; }));
}

TEST_F(EventStreamTest, UnauthorizedEndsForGood)
{
    server.on("GET", kPath, FakeResponse::json(401, R"({"error":"Unauthorized"})"));
    stream->start(kPath);
    ASSERT_TRUE(processUntil([&] { return unauthorized == 1; }));
    clock.advance(120'000);
    drainEvents();
    EXPECT_EQ(attempts(), 1);
    EXPECT_EQ(reconnects, 0);
    EXPECT_FALSE(stream->isRunning());
}

TEST_F(EventStreamTest, IdleForThirtyFiveSecondsReconnects)
{
    server.on("GET", kPath, FakeResponse::eventStream());
    stream->start(kPath);
    ASSERT_TRUE(processUntil([&] { return server.streams().size() == 1; }));
    server.streams()[0]->push(": hello\n");
    drainEvents();
    clock.advance(34'999);
    drainEvents();
    EXPECT_EQ(clock.pendingCount(), 1); // still the idle timer, no back-off yet
    clock.advance(1);
    ASSERT_TRUE(processUntil([&] { return clock.pendingCount() == 1 && clock.nextDueIn() == 1000; }));
    clock.advance(1000);
    EXPECT_EQ(reconnects, 1);
    ASSERT_TRUE(waitForAttempts(2));
}

TEST_F(EventStreamTest, SecondStartLeavesOneConnectionOnTheNewPath)
{
    const QString other = QStringLiteral("/api/v2/orchestrator-chat/t1/stream");
    server.on("GET", kPath, FakeResponse::eventStream());
    server.on("GET", other, FakeResponse::eventStream());
    stream->start(kPath);
    ASSERT_TRUE(processUntil([&] { return server.streams().size() == 1; }));
    stream->start(other);
    ASSERT_TRUE(processUntil([&] { return server.streams().size() == 2; }));
    ASSERT_TRUE(processUntil([&] { return !server.streams()[0]->isOpen(); }));
    EXPECT_TRUE(server.streams()[1]->isOpen());
    EXPECT_EQ(server.last().path, other);
    server.streams()[0]->push("data: stale\n\n");
    server.streams()[1]->push("data: fresh\n\n");
    ASSERT_TRUE(processUntil([&] { return !events.isEmpty(); }));
    drainEvents();
    EXPECT_EQ(events, QList<SSERawEvent>({{QStringLiteral("message"), QStringLiteral("fresh")}}));
}

TEST_F(EventStreamTest, CallbackMayDestroyTheStream)
{
    server.on("GET", kPath, FakeResponse::eventStream());
    stream->onEvent = [this](const SSERawEvent&) {
        events.append(SSERawEvent{});
        stream.reset();
    };
    auto* raw = stream.get();
    raw->start(kPath);
    ASSERT_TRUE(processUntil([&] { return server.streams().size() == 1; }));
    server.streams()[0]->push("data: a\n\ndata: b\n\n");
    ASSERT_TRUE(processUntil([&] { return !stream; }));
    drainEvents();
    EXPECT_EQ(events.size(), 1);
    EXPECT_EQ(clock.pendingCount(), 0);
}

} // namespace
