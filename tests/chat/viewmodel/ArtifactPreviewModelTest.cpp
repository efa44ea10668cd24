#include "chat/viewmodel/ArtifactPreviewModel.h"
#include "core/async/ManualClock.h"
#include "support/FakeServer.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

ChatArtifactReference artifact(const char* type, const char* id)
{
    ChatArtifactReference ref;
    ref.type = QString::fromUtf8(type);
    ref.name = QStringLiteral("Leads");
    if (id)
        ref.payload.insert(QStringLiteral("id"), QString::fromUtf8(id));
    return ref;
}

class ArtifactPreviewModelTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server, &clock);
    ArtifactPreviewModel model{t->client};
};

} // namespace

TEST_F(ArtifactPreviewModelTest, ATableShowsItsFirstRowsWithTheFullCountAndTheOwnersId)
{
    server.on(
        "GET", QStringLiteral("/api/v2/tables/t1"),
        FakeResponse::json(R"({"id":"t1","name":"Q3 leads","columns":[{"id":"c1","name":"Company","type":"text"}]})"));
    server.on("GET", QStringLiteral("/api/v2/tables/t1/rows"),
              FakeResponse::json(R"({"rows":[{"id":"r1","data":{"c1":"Acme"}}],"total":312})"));
    runTask(model.open(artifact("table", "t1"), QStringLiteral("ag7")));
    ASSERT_EQ(model.state(), ArtifactPreviewModel::State::table);
    EXPECT_EQ(model.title(), QStringLiteral("Q3 leads"));
    EXPECT_EQ(model.table()->total, 312);
    EXPECT_EQ(model.table()->rows.size(), 1);
    for (const RecordedRequest& r : server.requests())
        EXPECT_EQ(r.query.value(0).second, QStringLiteral("ag7")) << r.path.toStdString();

    model.close();
    EXPECT_EQ(model.state(), ArtifactPreviewModel::State::closed);
    EXPECT_FALSE(model.table());
}

TEST_F(ArtifactPreviewModelTest, ANoteReadsItsRecordAndAFailureShowsTheStandardText)
{
    server.on("GET", QStringLiteral("/api/v2/notes/n1"),
              FakeResponse::json(R"({"note":{"id":"n1","title":"Plan","body":"**Ship** it"}})"));
    runTask(model.open(artifact("note", "n1"), QStringLiteral("ag7")));
    ASSERT_EQ(model.state(), ArtifactPreviewModel::State::note);
    EXPECT_EQ(model.title(), QStringLiteral("Plan"));
    EXPECT_EQ(model.note()->body, QStringLiteral("**Ship** it"));

    server.on("GET", QStringLiteral("/api/v2/notes/n2"), FakeResponse::json(500, R"({"error":"down"})"));
    runTask(model.open(artifact("note", "n2"), QStringLiteral("ag7")));
    EXPECT_EQ(model.state(), ArtifactPreviewModel::State::failed);
    EXPECT_FALSE(model.error().isEmpty());
    EXPECT_FALSE(model.note());
}

TEST_F(ArtifactPreviewModelTest, ANewerPreviewWinsOverOneStillLoading)
{
    server.on("GET", QStringLiteral("/api/v2/notes/slow"),
              FakeResponse::held(FakeResponse::json(R"({"title":"Old","body":"old"})")));
    server.on("GET", QStringLiteral("/api/v2/notes/n1"), FakeResponse::json(R"({"title":"New","body":"new"})"));
    auto slow = model.open(artifact("note", "slow"), QStringLiteral("ag7"));
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    runTask(model.open(artifact("note", "n1"), QStringLiteral("ag7")));
    server.releaseHeld();
    runTask(std::move(slow));
    EXPECT_EQ(model.title(), QStringLiteral("New"));
}
