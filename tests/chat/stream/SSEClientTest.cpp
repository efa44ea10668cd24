#include "chat/service/SSEClient.h"
#include "core/async/ManualClock.h"
#include "core/net/PersistentCookieJar.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"

#include <QNetworkCookie>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

TEST(SSEClientTest, DecodesMessageEventsAndDropsBadOnes)
{
    FakeServer server;
    ManualClock clock;
    PersistentCookieJar jar{QString()};
    SSEClient client(server.origin(), &jar, &clock);
    int ready = 0;
    QList<qint64> ids;
    client.onReady = [&] { ++ready; };
    client.onMessage = [&](const ChatMessage& m) { ids.append(m.id); };

    const QString path = QStringLiteral("/") + SSEClient::agentStreamPath(QStringLiteral("a 1"));
    server.on("GET", path, FakeResponse::eventStream());
    client.start(SSEClient::agentStreamPath(QStringLiteral("a 1")));
    ASSERT_TRUE(processUntil([&] { return server.streams().size() == 1; }));
    EXPECT_EQ(server.last().target, "/api/v2/custom-agents/a%201/chat/stream");
    server.streams()[0]->push("event: ready\n\n"
                              "event: ping\ndata: {\"id\":99}\n\n"
                              "data: {\"id\":1,\"role\":\"assistant\",\"content\":\"hi\"}\n\n"
                              "data: not json\n\n"
                              "event: message-insert\ndata: {\"id\":\"2\",\"role\":\"step\"}\n\n"
                              "event: surprise\ndata: {\"id\":3}\n\n");
    ASSERT_TRUE(processUntil([&] { return ids.size() == 2; }));
    drainEvents();
    EXPECT_EQ(ready, 1);
    EXPECT_EQ(ids, QList<qint64>({1, 2}));
    EXPECT_EQ(SSEClient::teamStreamPath(QStringLiteral("t1")), QStringLiteral("api/v2/orchestrator-chat/t1/stream"));
}

namespace {

class SSEClientLoopTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    PersistentCookieJar jar{QString()};
    std::unique_ptr<SSEClient> client = std::make_unique<SSEClient>(server.origin(), &jar, &clock);
    const QString path = SSEClient::agentStreamPath(QStringLiteral("a1"));
    const QString route = QStringLiteral("/") + path;
    int reconnects = 0;
    int unauthorized = 0;

    void SetUp() override
    {
        client->onReconnect = [this] { ++reconnects; };
        client->onUnauthorized = [this] { ++unauthorized; };
    }
    int attempts() const { return server.count("GET", route); }
};

} // namespace

TEST_F(SSEClientLoopTest, RefusedStreamBacksOffOnTheClockAndReconnectPrecedesEachRetry)
{
    server.on("GET", route, FakeResponse::json(503, R"({"error":"The event stream is unavailable"})"));
    client->start(path);
    ASSERT_TRUE(processUntil([&] { return attempts() == 1; }));
    EXPECT_EQ(reconnects, 0) << "no reconnect before the first connection";
    const QList<qint64> delays = {1, 2, 4, 8, 16, 30, 30, 30};
    for (int i = 0; i < delays.size(); ++i) {
        ASSERT_TRUE(processUntil([&] { return clock.nextDueIn() == delays[i] * 1000; })) << "retry " << i;
        clock.advance(delays[i] * 1000 - 1);
        drainEvents(2);
        EXPECT_EQ(attempts(), i + 1) << "retry " << i << " came early";
        clock.advance(1);
        EXPECT_EQ(reconnects, i + 1);
        ASSERT_TRUE(processUntil([&] { return attempts() == i + 2; }));
    }
    EXPECT_EQ(unauthorized, 0);
}

TEST_F(SSEClientLoopTest, UnauthorizedIsReportedOnceAndNothingFollows)
{
    server.enqueue("GET", route, FakeResponse::json(500, "{}"));
    server.on("GET", route, FakeResponse::json(401, R"({"error":"Unauthorized"})"));
    client->start(path);
    ASSERT_TRUE(processUntil([&] { return clock.nextDueIn() == 1000; }));
    clock.advance(1000);
    ASSERT_TRUE(processUntil([&] { return unauthorized == 1; }));
    clock.advance(10 * 60'000);
    drainEvents();
    EXPECT_EQ(attempts(), 2);
    EXPECT_EQ(reconnects, 1);
    EXPECT_EQ(unauthorized, 1);
    EXPECT_FALSE(client->isRunning());
}

TEST_F(SSEClientLoopTest, SecondStartLeavesOneOpenConnectionAndSendsTheSessionCookie)
{
    QNetworkCookie session("hx-v2-session", "tok");
    session.setDomain(server.origin().host());
    session.setPath(QStringLiteral("/"));
    jar.insertCookie(session);
    server.on("GET", route, FakeResponse::eventStream());
    QList<qint64> ids;
    client->onMessage = [&](const ChatMessage& m) { ids.append(m.id); };
    client->start(path);
    client->start(path);
    ASSERT_TRUE(processUntil([&] { return !server.streams().isEmpty(); }));
    ASSERT_TRUE(processUntil([&] { return server.openConnections() <= 1 && server.streams().last()->isOpen(); }));
    drainEvents();
    int open = 0;
    for (const auto& stream : server.streams())
        open += stream->isOpen() ? 1 : 0;
    EXPECT_EQ(open, 1);
    EXPECT_TRUE(server.last().header("Cookie").contains("hx-v2-session=tok"));
    for (const auto& stream : server.streams())
        if (stream->isOpen())
            stream->push("data: {\"id\":7}\r\r");
    ASSERT_TRUE(processUntil([&] { return !ids.isEmpty(); }));
    drainEvents();
    EXPECT_EQ(ids, QList<qint64>({7}));
}
