#include "chat/service/ChatService.h"
#include "chat/service/TeamChatService.h"
#include "core/async/ManualClock.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

using Query = QList<QPair<QString, QString>>;
QPair<QString, QString> item(const char* n, const char* v) { return {QString::fromUtf8(n), QString::fromUtf8(v)}; }

class ChatServiceTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server, &clock);
    ChatService chat{t->client};
    TeamChatService teamChat{t->client};
    const QString chatPath = QStringLiteral("/api/v2/custom-agents/ag1/chat");

    void SetUp() override { server.on("GET", chatPath, FakeResponse::json(R"({"messages":[]})")); }
    Query historyQuery(std::optional<int> limit, std::optional<qint64> since, std::optional<qint64> before)
    {
        runTask(chat.history(QStringLiteral("ag1"), limit, since, before));
        return server.last().query;
    }
};

Attachment attachment()
{
    Attachment a;
    a.name = QStringLiteral("notes.md");
    a.size = 5;
    a.mime = QStringLiteral("text/markdown");
    a.url = QStringLiteral("https://f/1");
    a.key = QStringLiteral("secret-key");
    a.ok = true;
    return a;
}

} // namespace

TEST_F(ChatServiceTest, HistoryQueryShaping)
{
    EXPECT_EQ(historyQuery(50, std::nullopt, std::nullopt), Query{item("limit", "50")});
    EXPECT_EQ(historyQuery(50, 120, 99), Query{item("since", "120")});
    EXPECT_EQ(historyQuery(50, std::nullopt, 99), (Query{item("before", "99"), item("limit", "50")}));
    EXPECT_EQ(historyQuery(std::nullopt, std::nullopt, 9007199254740993), Query{item("before", "9007199254740993")});
    EXPECT_EQ(historyQuery(std::nullopt, std::nullopt, std::nullopt), Query{});
}

TEST_F(ChatServiceTest, SendTrimsTextAndCarriesPayloadsWithoutKeys)
{
    server.on("POST", chatPath, FakeResponse::json(R"({"status":"queued","client_request_id":"r1",
        "message":{"id":"77","role":"user","content":"hi"}})"));
    const SendResponse answer
        = runTask(chat.send(QStringLiteral("ag1"), QStringLiteral("  hi there \n"), {}, QStringLiteral("r1")));
    EXPECT_EQ(answer.clientRequestId, QStringLiteral("r1"));
    EXPECT_EQ(answer.message->id, 77);
    EXPECT_EQ(server.last().json(),
              JSONValue(JSONObject{{QStringLiteral("mode"), QStringLiteral("live")},
                                   {QStringLiteral("client_request_id"), QStringLiteral("r1")},
                                   {QStringLiteral("text"), QStringLiteral("hi there")}}));

    runTask(chat.send(QStringLiteral("ag1"), QStringLiteral(" \n\t"), {attachment()}, QStringLiteral("r2")));
    const JSONObject body = server.last().jsonObject();
    EXPECT_EQ(
        body.keys(),
        (QStringList{QStringLiteral("attachments"), QStringLiteral("client_request_id"), QStringLiteral("mode")}));
    EXPECT_EQ(body[QStringLiteral("attachments")],
              JSONValue(JSONArray{JSONValue(JSONObject{{QStringLiteral("name"), QStringLiteral("notes.md")},
                                                       {QStringLiteral("size"), 5},
                                                       {QStringLiteral("mime"), QStringLiteral("text/markdown")},
                                                       {QStringLiteral("url"), QStringLiteral("https://f/1")}})}));
}

TEST_F(ChatServiceTest, UploadExpandAndMarkRead)
{
    server.on("POST", chatPath + QStringLiteral("/files"), FakeResponse::json(R"({"files":[
        {"name":"a.txt","size":3,"mime":"text/plain","ok":true},
        {"name":"b.bin","size":0,"mime":"application/octet-stream","ok":false,"error":"too big"}]})"));
    const auto files = runTask(chat.uploadFiles(
        QStringLiteral("ag1"),
        {MultipartFile{QStringLiteral("files"), QStringLiteral("a.txt"), QStringLiteral("text/plain"), "abc"}}));
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(files[1].error, QStringLiteral("too big"));
    EXPECT_TRUE(server.last().header("content-type").startsWith("multipart/form-data"));

    server.on("GET", chatPath + QStringLiteral("/step/12"),
              FakeResponse::json(R"({"id":12,"role":"step","content":"full"})"));
    EXPECT_EQ(runTask(chat.expandStep(QStringLiteral("ag1"), 12)).content, QStringLiteral("full"));
    EXPECT_TRUE(server.last().query.isEmpty());

    server.on("POST", chatPath + QStringLiteral("/read"), FakeResponse::json(204, {}));
    runTask(chat.markRead(QStringLiteral("ag1")));
    EXPECT_EQ(server.last().json(), JSONValue(JSONObject{}));
}

TEST_F(ChatServiceTest, TeamConversation)
{
    const QString path = QStringLiteral("/api/v2/orchestrator-chat/growth");
    server.on("GET", path, FakeResponse::json(R"({"messages":[{"id":5,"content":"hello"}],
        "agents":[{"id":"a","name":"scout-growth","handle":"scout","is_reviewer":true}],
        "loop":{"enabled":true,"max_iterations":4},"group_label":"Growth","handoff_depth":2,"budget_usd_month":25.5})"));
    const TeamChatResponse team = runTask(teamChat.load(QStringLiteral("growth"), 15, 40));
    EXPECT_EQ(server.last().query, (Query{item("before", "40"), item("limit", "15")}));
    EXPECT_EQ(team.messages[0].id, 5);
    EXPECT_EQ(team.agents[0].handle, QStringLiteral("scout"));
    EXPECT_EQ(team.loop->maxIterations, 4);
    EXPECT_EQ(team.budgetUsdMonth, 25.5);

    server.on("POST", path, FakeResponse::json("{}"));
    runTask(teamChat.send(QStringLiteral("growth"), QStringLiteral("go"), {}));
    EXPECT_EQ(server.last().json(), JSONValue(JSONObject{{QStringLiteral("text"), QStringLiteral("go")}}));
    server.on("POST", path + QStringLiteral("/read"), FakeResponse::json("{}"));
    runTask(teamChat.markRead(QStringLiteral("growth")));
    EXPECT_EQ(server.last().path, path + QStringLiteral("/read"));
}
