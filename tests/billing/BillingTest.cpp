// The sidebar's usage meter from the plan answer, the wallet's sign-in hint, daily spend, and a
// team row's cost read from a number or a text.
#include "billing/viewmodel/BillingModels.h"
#include "core/async/ManualClock.h"
#include "support/FakeServer.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/TestClient.h"
#include "teams/model/TeamRecords.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

UserPlanResponse plan(const QByteArray& json) { return decodeJSON<UserPlanResponse>(json); }

} // namespace

TEST(BillingTest, TheMeterNeedsUsageAndALimitAndClampsItsProgress)
{
    EXPECT_FALSE(SidebarUsageSnapshot::make(plan(R"({"plan":{"token_limit":1000}})")));
    EXPECT_FALSE(SidebarUsageSnapshot::make(plan(R"({"usage":{"spent_tokens":5,"token_limit":0}})")));
    const auto fallback
        = SidebarUsageSnapshot::make(plan(R"({"plan":{"token_limit":1000},"usage":{"spent_tokens":250}})"));
    ASSERT_TRUE(fallback);
    EXPECT_DOUBLE_EQ(fallback->progress, 0.25);
    EXPECT_TRUE(fallback->limitText.endsWith(QStringLiteral(" / mo")));
    EXPECT_TRUE(fallback->spentText.startsWith(QStringLiteral("spent ")));
    EXPECT_DOUBLE_EQ(
        SidebarUsageSnapshot::make(plan(R"({"usage":{"spent_tokens":5,"token_limit":10,"percent_used":150}})"))
            ->progress,
        1);
    EXPECT_DOUBLE_EQ(
        SidebarUsageSnapshot::make(plan(R"({"usage":{"spent_tokens":5,"token_limit":10,"percent_used":-4}})"))
            ->progress,
        0);
}

TEST(BillingTest, ATeamRowCostIsANumberOrAWholeDecimalText)
{
    EXPECT_EQ(TeamUsageResponse::costUsd(JSONValue(QStringLiteral("12.5"))), 12.5);
    EXPECT_EQ(TeamUsageResponse::costUsd(JSONValue(QStringLiteral(" 3"))), std::nullopt);
    EXPECT_EQ(TeamUsageResponse::costUsd(JSONValue(QStringLiteral(""))), std::nullopt);
    EXPECT_EQ(TeamUsageResponse::costUsd(JSONValue(2.0)), 2.0);
    EXPECT_EQ(TeamUsageResponse::costUsd(JSONValue()), std::nullopt);
}

TEST(BillingTest, DailySpendSumsChargesPerDayAndFillsQuietDays)
{
    const QList<WalletTransaction> list{
        {QStringLiteral("1"), QStringLiteral("turn_spend"), -0.5, 9, {}, QStringLiteral("2026-12-02T10:00:00Z")},
        {QStringLiteral("2"), QStringLiteral("turn_spend"), -0.25, 8, {}, QStringLiteral("2026-12-02T11:00:00Z")},
        {QStringLiteral("3"), QStringLiteral("top_up"), 20, 28, {}, QStringLiteral("2026-12-03T10:00:00Z")},
    };
    const auto days = dailySpend(list, QDate(2026, 12, 1), QDate(2026, 12, 3));
    ASSERT_EQ(days.size(), 3);
    EXPECT_DOUBLE_EQ(days[0].second, 0);
    EXPECT_DOUBLE_EQ(days[1].second, 0.75);
    EXPECT_DOUBLE_EQ(days[2].second, 0);
}

TEST(BillingTest, ASignedOutWalletAsksToSignInAndAPlanWithoutUsageSaysSo)
{
    FakeServer server;
    ManualClock clock;
    auto t = makeTestClient(server.origin(), &clock);
    server.on("GET", QStringLiteral("/api/v2/user/wallet"), FakeResponse::json(401, R"({"error":"Not signed in"})"));
    WalletViewModel wallet(t->client);
    runTask(wallet.load());
    EXPECT_TRUE(wallet.needsLogin());
    EXPECT_FALSE(wallet.isLoading());

    server.on("GET", QStringLiteral("/api/v2/user/plan"), FakeResponse::json(R"({"plan":{"name":"Starter"}})"));
    SidebarUsageModel meter(t->client);
    runTask(meter.refresh());
    EXPECT_FALSE(meter.snapshot());
    EXPECT_EQ(meter.error(), QStringLiteral("Usage unavailable"));
}
