#include "chat/stream/SSEClient.h"
#include "core/async/ManualClock.h"
#include "core/net/PersistentCookieJar.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"

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
