// Rows as the chat shows them when the service delivers a turn out of order: the step group
// must come before the answer it led to, and nothing may be dropped or shown twice.
#include "support/MessageFixtures.h"

#include "chat/viewmodel/grouping/ChatStepGrouping.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::ChatStepGrouping;
using fixtures::message;
using fixtures::step;

namespace {

QByteArray work(const char* id, const char* extra = "")
{
    return QByteArray(R"({"work_kind":"chat_turn","work_id":")") + id + "\"" + extra + "}";
}

QByteArray searching(const char* id) { return work(id, R"(,"tool":"web_search","status":"running")"); }

QList<QList<qint64>> covered(const QList<ChatRowItem>& rows)
{
    QList<QList<qint64>> out;
    for (const ChatRowItem& row : rows)
        out.append(row.scrollIds());
    return out;
}

} // namespace

TEST(RowOrder, AnswerListedFirstIsShownAfterItsStepGroup)
{
    const QList<ChatMessage> chat{
        message(1, "user", "research"),
        message(2, "assistant", "Final answer", work("w1")),
        message(3, "assistant", "", work("w1", R"(,"kind":"turn_spend","cost_usd":0.01)")),
        step(4, searching("w1")),
        step(5, searching("w1")),
        message(6, "assistant", "Chain", work("w1", R"(,"kind":"chain_report")")),
        step(7, searching("w1")),
    };
    const auto built = rows(chat, ChatSurface::solo);
    EXPECT_EQ(covered(built), (QList<QList<qint64>>{{1}, {4, 5, 7}, {3}, {2}, {6}}));
    EXPECT_EQ(built[1].kind(), ChatRowItem::Kind::stepGroup);
    EXPECT_EQ(built[1].group()->middle.size(), 1);
}

TEST(RowOrder, TwoTurnsInOnePieceKeepTheirOwnGroups)
{
    const QList<ChatMessage> chat{
        step(1, searching("a")),
        step(2, searching("b")),
        step(3, searching("a")),
        step(4, searching("b")),
        message(5, "assistant", "A done", work("a")),
    };
    // Sorting keeps each work's slots, so the turns still interleave and no run crosses them.
    EXPECT_EQ(covered(rows(chat, ChatSurface::team)), (QList<QList<qint64>>{{1}, {2}, {3}, {4}, {5}}));
}

TEST(RowOrder, FailedAndFinishedStepsBreakARunAndStandAlone)
{
    const QList<ChatMessage> chat{
        step(1, searching("w")),
        step(2, searching("w")),
        step(3, work("w", R"(,"tool":"web_search","status":"failed")")),
        step(4, searching("w")),
        step(5, work("w", R"(,"tool":"web_search","status":"done")")),
        step(6, searching("w")),
        step(7, searching("w")),
    };
    const auto built = rows(chat, ChatSurface::solo);
    EXPECT_EQ(covered(built), (QList<QList<qint64>>{{1, 2}, {3}, {4}, {5}, {6, 7}}));
    EXPECT_FALSE(isGroupable(chat[2], ChatSurface::solo));
    EXPECT_FALSE(isInternalCollabEvent(chat[4], ChatSurface::solo));
}

TEST(RowOrder, GoalStepsGroupWhateverTheirRole)
{
    const QList<ChatMessage> chat{
        message(1, "assistant", "Searching the web: suppliers", R"({"kind":"goal_step","goal_run_id":"r"})"),
        message(2, "assistant", "Browsing: acme.com", R"({"kind":"goal_step","goal_run_id":"r"})"),
        message(3, "assistant", "Running scoring", R"({"kind":"goal_step","status":"error","goal_run_id":"r"})"),
    };
    const auto built = rows(chat, ChatSurface::solo);
    EXPECT_EQ(covered(built), (QList<QList<qint64>>{{1, 2}, {3}}));
    const GoalReviewItem review{QStringLiteral("g"),         QStringLiteral("r"), 1,
                                QStringLiteral("Suppliers"), QString(),           {}};
    const GoalReviewItem second{QStringLiteral("g"),         QStringLiteral("r"), 2,
                                QStringLiteral("Suppliers"), QString(),           {}};
    const auto withReviews = GoalReviewRows::attach(built, {review, second});
    ASSERT_EQ(withReviews.size(), 4);
    EXPECT_EQ(withReviews[2].review()->version, 1);
    EXPECT_EQ(withReviews[3].review()->version, 2);
    EXPECT_NE(withReviews[2].id(), withReviews[3].id());
}
