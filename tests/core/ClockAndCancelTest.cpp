#include "core/APIError.h"
#include "core/async/CancelToken.h"
#include "core/async/LatestOnly.h"
#include "core/async/ManualClock.h"
#include "support/RunTask.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

TEST(ManualClockTest, SleepsResumeInDueOrderWithoutRealTime)
{
    ManualClock clock;
    QList<int> order;
    auto sleeper = [&](qint64 ms, int tag) -> QCoro::Task<void> {
        co_await clock.sleep(ms);
        order.append(tag);
    };
    auto a = sleeper(8'000, 1);
    auto b = sleeper(1'000, 2);
    auto c = sleeper(8'000, 3);
    clock.advance(999);
    EXPECT_TRUE(order.isEmpty());
    clock.advance(1);
    EXPECT_EQ(order, QList<int>({2}));
    clock.advance(7'000);
    EXPECT_EQ(order, QList<int>({2, 1, 3})); // equal due times keep the order they were set
    EXPECT_EQ(clock.pendingCount(), 0);
    EXPECT_EQ(clock.now(), ManualClock().now().addSecs(8));
}

TEST(ManualClockTest, CancellingWakesTheSleeperWithCancelled)
{
    ManualClock clock;
    CancelSource source;
    bool cancelled = false;
    auto sleeper = [&]() -> QCoro::Task<void> {
        try {
            co_await clock.sleep(30'000, source.token());
        } catch (const APIError& e) {
            cancelled = isCancellation(e);
        }
    };
    auto task = sleeper();
    EXPECT_EQ(clock.pendingCount(), 1);
    source.cancel();
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(clock.pendingCount(), 0); // the timer went with it
}

TEST(LatestOnlyTest, ANewerRunCancelsTheOlderAndDestructionCancelsTheLast)
{
    std::optional<LatestOnly> latest{std::in_place};
    const CancelToken first = latest->next();
    EXPECT_TRUE(latest->isRunning());
    const CancelToken second = latest->next();
    EXPECT_TRUE(first.isCancelled());
    EXPECT_FALSE(second.isCancelled());
    // The superseded run already sees itself stale when its cancellation resumes it.
    bool sawStale = false;
    auto sub = second.onCancel([&] { sawStale = !latest->isRunning(); });
    const CancelToken third = latest->next();
    EXPECT_TRUE(sawStale);
    latest.reset(); // the owner goes: its last run can tell
    EXPECT_TRUE(third.isCancelled());
}

TEST(TaskScopeTest, CancelAllStopsStartedWorkButNotLaterWork)
{
    TaskScope scope;
    const CancelToken before = scope.token();
    int calls = 0;
    auto sub = before.onCancel([&] { ++calls; });
    scope.cancelAll();
    EXPECT_TRUE(before.isCancelled());
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(scope.token().isCancelled());
    scope.cancelAll();
    EXPECT_EQ(calls, 1); // a callback runs once
    EXPECT_FALSE(CancelToken().isCancelled());
}
