// The marketplace list in batches of nine, its filters, and hiring (twice lands on the same one).
#include "core/async/ManualClock.h"
#include "marketplace/viewmodel/HireOnboardingModel.h"
#include "marketplace/viewmodel/MarketplaceViewModel.h"
#include "support/FakeServer.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

const QString marketPath = QStringLiteral("/api/v2/marketplace");

QByteArray summaryOf(int count)
{
    QByteArray body = "{\"agents\":[";
    for (int i = 0; i < count; ++i)
        body += (i ? "," : "") + QByteArray("{\"id\":\"m") + QByteArray::number(i) + "\",\"name\":\"Worker "
            + QByteArray::number(i) + "\",\"service\":\"" + (i % 2 ? "Research" : "Support")
            + "\",\"installs_count\":" + QByteArray::number(100 - i) + "}";
    return body + "]}";
}

// Answers a page with the requested ids, except those listed as missing.
FakeServer::Handler pages(QStringList missing = {})
{
    return [missing](const RecordedRequest& r) {
        for (const auto& [key, value] : r.query) {
            if (key != u"ids")
                continue;
            QByteArray body = "{\"agents\":[";
            bool first = true;
            for (const QString& id : value.split(QLatin1Char(','))) {
                if (missing.contains(id))
                    continue;
                body += (first ? "" : ",") + QByteArray("{\"id\":\"") + id.toUtf8() + "\",\"name\":\"" + id.toUtf8()
                    + "\",\"capabilities\":{\"service\":\"" + (id.mid(1).toInt() % 2 ? "Research" : "Support") + "\"}}";
                first = false;
            }
            return FakeResponse::json(body + "]}");
        }
        return FakeResponse::json(R"({"agents":[]})");
    };
}

class MarketplaceTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server.origin(), &clock);
    MarketplaceViewModel market{t->client};
};

} // namespace

TEST_F(MarketplaceTest, TwentyEntriesArriveInBatchesOfNineNineAndTwo)
{
    server.on("GET", marketPath, pages());
    server.enqueue("GET", marketPath, FakeResponse::json(summaryOf(20)));
    runTask(market.load());
    EXPECT_EQ(market.workers().size(), 9);
    EXPECT_EQ(market.workers().first().id, QStringLiteral("m0")) << "most hired first";
    runTask(market.loadNextBatch());
    runTask(market.loadNextBatch());
    EXPECT_EQ(market.workers().size(), 20);
    EXPECT_FALSE(market.hasMore());
    runTask(market.loadNextBatch());
    EXPECT_EQ(server.count("GET", marketPath), 4) << "nothing more is asked once all were requested";

    EXPECT_EQ(market.primaryFilters(), (QStringList{QStringLiteral("All"), QStringLiteral("Research")}));
    EXPECT_EQ(market.secondaryFilters(), QStringList{QStringLiteral("Support")});
    market.setFilter(QStringLiteral("Research"));
    EXPECT_EQ(market.filtered().size(), 10);
    market.setFilter(QStringLiteral("Web Design"));
    EXPECT_TRUE(market.filtered().isEmpty());
}

TEST_F(MarketplaceTest, AFailedBatchKeepsWhatLoadedAndAMissingRecordIsSkipped)
{
    server.enqueue("GET", marketPath, FakeResponse::json(summaryOf(12)));
    server.enqueue("GET", marketPath, FakeResponse::json(R"({"agents":[]})"));
    server.on("GET", marketPath, pages({QStringLiteral("m2")}));
    runTask(market.load());
    EXPECT_TRUE(market.workers().isEmpty());
    server.enqueue("GET", marketPath, FakeResponse::json(500, R"({"error":"busy"})"));
    runTask(market.loadNextBatch());
    EXPECT_TRUE(market.paginationFailed());
    EXPECT_TRUE(market.hasMore());
    runTask(market.loadNextBatch());
    EXPECT_FALSE(market.paginationFailed());
    EXPECT_EQ(market.workers().size(), 3) << "ids 9, 10 and 11";
}

TEST_F(MarketplaceTest, ALostSessionAsksToSignInAndOtherFailuresSayWhy)
{
    server.enqueue("GET", marketPath, FakeResponse::json(401, R"({"error":"expired"})"));
    runTask(market.load());
    EXPECT_TRUE(market.needsLogin());
    server.enqueue("GET", marketPath, FakeResponse::json(500, "not json"));
    runTask(market.load());
    EXPECT_FALSE(market.needsLogin());
    EXPECT_FALSE(market.error().value_or(QString()).isEmpty());
}

TEST_F(MarketplaceTest, HiringTwiceOpensTheSameEmployeeAndAGoalFollowsTheHire)
{
    const QString clone = QStringLiteral("/api/v2/custom-agents/m1/clone");
    server.enqueue("POST", clone, FakeResponse::json(R"({"id":"hired-1"})"));
    server.enqueue(
        "POST", clone,
        FakeResponse::json(409, R"({"error":"Already hired","code":"already_hired","existing_agent_id":"hired-1"})"));
    server.on("PUT", QStringLiteral("/api/v2/custom-agents/hired-1/goal"), FakeResponse::json("{}"));
    MarketplaceWorker worker;
    worker.id = QStringLiteral("m1");
    QStringList hired;
    for (int i = 0; i < 2; ++i) {
        HireOnboardingModel sheet(t->client, worker,
                                  HireOnboardingModel::Target{QStringLiteral("growth"), QStringLiteral("Growth")});
        sheet.onHired = [&](const QString& id) { hired << id; };
        if (i == 0)
            sheet.goalText = QStringLiteral("  Send the first newsletter ");
        runTask(sheet.hire());
        EXPECT_FALSE(sheet.error());
    }
    EXPECT_EQ(hired, (QStringList{QStringLiteral("hired-1"), QStringLiteral("hired-1")}));
    const JSONObject body = server.requests().first().jsonObject();
    EXPECT_EQ(body.value(QStringLiteral("intent")), JSONValue(QStringLiteral("hire")));
    EXPECT_EQ(body.value(QStringLiteral("team_slug")), JSONValue(QStringLiteral("growth")));
    EXPECT_FALSE(body.contains(QStringLiteral("project_slug")));
    EXPECT_EQ(server.count("PUT", QStringLiteral("/api/v2/custom-agents/hired-1/goal")), 1)
        << "only the hire with a goal sets one";
}
