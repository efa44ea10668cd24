#include "agents/viewmodel/AgentListViewModel.h"
#include "agents/model/ChatBackend.h"
#include "agents/service/AgentService.h"
#include "core/async/ManualClock.h"
#include "core/prefs/Preferences.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

const QString kList = QStringLiteral("/api/v2/custom-agents");

QByteArray listBody(const QByteArray& agents, const QByteArray& extra = {})
{
    return "{\"agents\":[" + agents + "]" + extra + "}";
}

const QByteArray kTwoAgents
    = R"({"id":"a1","name":"Ada","status":"active"},{"id":"b2","name":"Bo","status":"active","agent_type":"worker"},)"
      R"({"id":"lead","name":"Lead","status":"active","is_orchestrator":true})";

class AgentListViewModelTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server, &clock);
    QTemporaryDir dir;
    Preferences preferences{dir.filePath(QStringLiteral("p.ini"))};
    AgentService service{t->client};
    std::unique_ptr<AgentListViewModel> model = std::make_unique<AgentListViewModel>(t->client, service, preferences);

    int listRequests() const { return server.count("GET", kList); }
};

TEST_F(AgentListViewModelTest, ManyLoadsDuringAFetchCauseExactlyOneMore)
{
    server.on("GET", kList, FakeResponse::held(FakeResponse::json(listBody(kTwoAgents))));
    auto first = model->loadCoalesced();
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    EXPECT_EQ(server.last().query,
              (QList<QPair<QString, QString>>{{QStringLiteral("include_activity"), QStringLiteral("1")}}));
    for (int i = 0; i < 5; ++i)
        model->load();
    server.releaseHeld();
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    server.on("GET", kList, FakeResponse::json(listBody(kTwoAgents)));
    server.releaseHeld();
    runTask(std::move(first));
    EXPECT_EQ(listRequests(), 2);
    EXPECT_EQ(model->selectedId(), QStringLiteral("a1"));
    EXPECT_FALSE(model->isLoading());
}

TEST_F(AgentListViewModelTest, UnreadCountsAndFailures)
{
    server.on("GET", kList,
              FakeResponse::json(listBody(kTwoAgents, R"(,"unread":{"a1":3},"orchestratorUnread":{"growth":2})")));
    runTask(model->loadCoalesced());
    EXPECT_EQ(model->unreadCounts().value(QStringLiteral("a1")), 3);
    model->clearUnread(QStringLiteral("team:growth"));
    EXPECT_EQ(model->teamUnreadCounts().value(QStringLiteral("growth")), 0);
    EXPECT_EQ(model->unreadCounts().value(QStringLiteral("a1")), 3);

    server.on("GET", kList, FakeResponse::json(500, R"({"error":"list exploded"})"));
    runTask(model->loadCoalesced());
    EXPECT_EQ(model->error(), QStringLiteral("list exploded"));
    EXPECT_EQ(model->agents().size(), 3); // kept as they were

    int unauthorized = 0;
    QObject::connect(model.get(), &AgentListViewModel::unauthorized, [&] { ++unauthorized; });
    server.on("GET", kList, FakeResponse::json(401, R"({"error":"Unauthorized"})"));
    runTask(model->loadCoalesced());
    EXPECT_EQ(unauthorized, 1);
}

TEST_F(AgentListViewModelTest, RenameAndDeleteApplyAtOnceThenPatchAndReload)
{
    server.on("GET", kList, FakeResponse::json(listBody(kTwoAgents)));
    server.on("PATCH", QStringLiteral("/api/v2/custom-agents/a1"), FakeResponse::json(200, "{}"));
    runTask(model->loadCoalesced());

    runTask(model->rename(QStringLiteral("a1"), QStringLiteral("  ")));
    EXPECT_EQ(server.count("PATCH", QStringLiteral("/api/v2/custom-agents/a1")), 0);
    auto renaming = model->rename(QStringLiteral("a1"), QStringLiteral("  Ada Lovelace \n"));
    EXPECT_EQ(model->agents().first().name, QStringLiteral("Ada Lovelace"));
    runTask(std::move(renaming));
    const auto patches = server.requests();
    const auto patch
        = std::find_if(patches.begin(), patches.end(), [](const RecordedRequest& r) { return r.method == "PATCH"; });
    ASSERT_NE(patch, patches.end());
    EXPECT_EQ(patch->jsonObject(), (JSONObject{{QStringLiteral("name"), QStringLiteral("Ada Lovelace")}}));
    EXPECT_EQ(listRequests(), 2);

    model->select(QStringLiteral("a1"));
    auto deleting = model->deleteChat(QStringLiteral("a1"));
    EXPECT_EQ(model->selectedId(), QStringLiteral("lead")); // the orchestrator takes over the selection
    EXPECT_EQ(model->agents().size(), 2);
    runTask(std::move(deleting));
    EXPECT_EQ(server.last().method, "GET");

    // A change the service refuses stays reported through the reload that undoes it; the next
    // load starts clean.
    server.on("PATCH", QStringLiteral("/api/v2/custom-agents/b2"), FakeResponse::json(500, R"({"error":"no"})"));
    runTask(model->rename(QStringLiteral("b2"), QStringLiteral("Bob")));
    EXPECT_EQ(model->agents().at(1).name, QStringLiteral("Bo"));
    EXPECT_TRUE(model->error().has_value());
    runTask(model->loadCoalesced());
    EXPECT_FALSE(model->error().has_value());
}

TEST_F(AgentListViewModelTest, TabsSelectTheirDefaultChatAndModelChatsPersist)
{
    const QByteArray created = R"({"id":"new1","name":"Plan the launch","status":"active"})";
    bool exists = false;
    server.on("GET", kList, [&](const RecordedRequest&) {
        return FakeResponse::json(
            listBody(kTwoAgents + R"(,{"id":"c9","name":"Hello","status":"active","preset_kind":"model_chat"})"
                     + (exists ? "," + created : QByteArray())));
    });
    server.on("POST", kList, [&](const RecordedRequest&) {
        exists = true;
        return FakeResponse::json(created);
    });
    runTask(model->loadCoalesced());
    model->selectTab(SidebarTab::chat);
    EXPECT_EQ(model->selectedId(), QStringLiteral("c9"));
    model->selectTab(SidebarTab::agents);
    EXPECT_EQ(model->selectedId(), QStringLiteral("a1"));
    ASSERT_TRUE(model->selectedBackend());
    EXPECT_EQ(model->selectedBackend()->id(), QStringLiteral("a1"));

    // Whoever follows the selection finds the first message waiting for the new chat.
    QStringList handedOver;
    QObject::connect(model.get(), &AgentListViewModel::selectionChanged, [&] {
        if (model->selectedId() == QStringLiteral("new1"))
            handedOver << model->pendingFirstMessage().value_or(QString());
    });
    runTask(model->createModelChat(std::nullopt, QStringLiteral("Plan the launch\nwith details")));
    EXPECT_EQ(handedOver, QStringList{QStringLiteral("Plan the launch\nwith details")});
    EXPECT_EQ(model->tab(), SidebarTab::chat);
    EXPECT_TRUE(preferences.modelChatIds().contains(QStringLiteral("new1")));
    EXPECT_EQ(model->selectedId(), QStringLiteral("new1"));
    EXPECT_EQ(model->pendingFirstMessage(), QStringLiteral("Plan the launch\nwith details"));
    const JSONObject body = [&] {
        for (const auto& r : server.requests())
            if (r.method == "POST")
                return r.jsonObject();
        return JSONObject();
    }();
    EXPECT_EQ(body.value(QStringLiteral("name")), JSONValue(QStringLiteral("Plan the launch")));
    // A fresh model of the next session remembers the chat.
    AgentListViewModel next(t->client, service, preferences);
    EXPECT_TRUE(next.localModelChatIds().contains(QStringLiteral("new1")));
}

TEST_F(AgentListViewModelTest, AttachingAnAgentOfAnotherTeamIsRefused)
{
    server.on(
        "GET", kList,
        FakeResponse::json(listBody(
            R"({"id":"a1","name":"writer-sales","status":"active","agent_group":"Sales"},{"id":"a2","name":"Research Lead","status":"active"})")));
    server.on("PATCH", QStringLiteral("/api/v2/custom-agents/a2"), FakeResponse::json(200, "{}"));
    runTask(model->loadCoalesced());
    runTask(model->attachHiredAgent(QStringLiteral("a1"), QStringLiteral("growth"), QStringLiteral("Growth")));
    EXPECT_EQ(model->error(), QStringLiteral("Writer Sales already works in Sales — move it out of that team first."));
    runTask(model->attachHiredAgent(QStringLiteral("a2"), QStringLiteral("growth"), QStringLiteral("Growth")));
    const auto reqs = server.requests();
    const auto patch
        = std::find_if(reqs.begin(), reqs.end(), [](const RecordedRequest& r) { return r.method == "PATCH"; });
    ASSERT_NE(patch, reqs.end());
    EXPECT_EQ(patch->jsonObject(),
              (JSONObject{{QStringLiteral("name"), QStringLiteral("research-lead-growth")},
                          {QStringLiteral("agent_group"), QStringLiteral("Growth")}}));
}

} // namespace
