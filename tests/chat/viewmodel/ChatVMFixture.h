#pragma once
#include "chat/viewmodel/ChatViewModel.h"
#include "core/async/ManualClock.h"
#include "support/FakeServer.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

namespace halvex::test {

inline QByteArray messageJSON(qint64 id, const char* role, const char* content, const char* metadata = "{}")
{
    return QByteArray("{\"id\":") + QByteArray::number(id) + ",\"role\":\"" + role + "\",\"content\":\"" + content
        + "\",\"metadata\":" + metadata + "}";
}

inline QByteArray historyJSON(const QList<QByteArray>& messages, bool hasMore = false)
{
    QByteArray body = "{\"messages\":[";
    for (qsizetype i = 0; i < messages.size(); ++i)
        body += (i ? "," : "") + messages[i];
    return body + "],\"page\":{\"has_more\":" + (hasMore ? "true" : "false") + "}}";
}

inline ChatMessage message(qint64 id, const char* role, const char* content)
{
    ChatMessage m;
    m.id = id;
    m.role = QString::fromUtf8(role);
    m.content = QString::fromUtf8(content);
    return m;
}

inline QList<qint64> ids(const QList<ChatMessage>& messages)
{
    QList<qint64> out;
    for (const ChatMessage& m : messages)
        out.append(m.id);
    return out;
}

class ChatVMTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server, &clock);
    ChatHistoryCache cache;
    const QString chat = QStringLiteral("/api/v2/custom-agents/a1/chat");
    const QString team = QStringLiteral("/api/v2/orchestrator-chat/crew");

    void SetUp() override
    {
        server.on("GET", chat + QStringLiteral("/stream"), FakeResponse::eventStream());
        server.on("GET", team + QStringLiteral("/stream"), FakeResponse::eventStream());
        server.on("POST", chat + QStringLiteral("/read"), FakeResponse::json("{}"));
        server.on("POST", team + QStringLiteral("/read"), FakeResponse::json("{}"));
        server.on("GET", QStringLiteral("/api/v2/custom-agents/a1"), FakeResponse::json(R"({"id":"a1","name":"Ada"})"));
        server.on("GET", QStringLiteral("/api/v2/custom-agents/a1/goals"), FakeResponse::json(R"({"goals":[]})"));
        server.on("GET", QStringLiteral("/api/v2/teams/crew/goals"), FakeResponse::json(R"({"goals":[]})"));
    }

    static Agent agent()
    {
        Agent a;
        a.id = QStringLiteral("a1");
        a.name = QStringLiteral("Ada");
        return a;
    }

    std::unique_ptr<ChatViewModel> agentChat(std::optional<QString> initial = std::nullopt)
    {
        return std::make_unique<ChatViewModel>(ChatBackend::agent(agent()), t->client, clock, initial, cache);
    }

    std::unique_ptr<ChatViewModel> teamChat()
    {
        return std::make_unique<ChatViewModel>(ChatBackend::team(QStringLiteral("crew"), QStringLiteral("Crew")),
                                               t->client, clock, std::nullopt, cache);
    }

    // Starts with the given history and waits until the stream is open.
    std::unique_ptr<ChatViewModel> startedAgentChat(const QList<QByteArray>& history, bool hasMore = false)
    {
        server.on("GET", chat, FakeResponse::json(historyJSON(history, hasMore)));
        auto vm = agentChat();
        runTask(vm->start());
        // Everything start() sends goes out before the test looks at requests of its own.
        EXPECT_TRUE(processUntil([&] {
            return !server.streams().isEmpty() && server.count("POST", chat + QStringLiteral("/read")) > 0
                && server.count("GET", QStringLiteral("/api/v2/custom-agents/a1/goals")) > 0;
        }));
        drainEvents(4);
        return vm;
    }
};

} // namespace halvex::test
