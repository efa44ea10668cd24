#include "support/MessageFixtures.h"

#include "chat/viewmodel/grouping/ChatStepGrouping.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::ChatStepGrouping;
using fixtures::message;
using fixtures::step;

namespace {

QByteArray running(const char* extra = "")
{
    return QByteArray(R"({"tool":"web_search","status":"running")") + extra + "}";
}

QByteArray turn(const char* work, const char* extra = "")
{
    return QByteArray(R"({"tool":"web_search","status":"running","work_kind":"chat_turn","work_id":")") + work + "\""
        + extra + "}";
}

// Row kinds and the ids they cover, e.g. "S1 G2,3 S4".
QString shape(const QList<ChatRowItem>& rows)
{
    QStringList parts;
    for (const ChatRowItem& row : rows) {
        QStringList ids;
        for (qint64 id : row.scrollIds())
            ids.append(QString::number(id));
        const char* tag = "S";
        switch (row.kind()) {
        case ChatRowItem::Kind::single:
            tag = "S";
            break;
        case ChatRowItem::Kind::stepGroup:
            tag = "G";
            break;
        case ChatRowItem::Kind::artifactChips:
            tag = "C";
            break;
        case ChatRowItem::Kind::goalReview:
            tag = "R";
            break;
        }
        parts.append(QString::fromLatin1(tag) + (row.review() ? row.review()->runId : ids.join(u',')));
    }
    return parts.join(u' ');
}

} // namespace

TEST(StepRuns, ConsecutiveRunningStepsFoldUntilSomethingElseComes)
{
    const QList<ChatMessage> chat{
        message(1, "user", "find leads"),
        step(2, running()),
        step(3, running()),
        message(4, "user", "and more"),
        step(5, running()),
        step(6, R"({"kind":"browser_view","tool":"browser"})"),
        step(7, running()),
        step(8, running()),
        message(9, "assistant", "Here you go"),
        step(10, running()),
    };
    EXPECT_EQ(shape(rows(chat, ChatSurface::solo)), QStringLiteral("S1 G2,3 S4 S5 S6 G7,8 S9 S10"));
}

TEST(StepRuns, TurnIdsAndActorsBoundARun)
{
    const QList<ChatMessage> chat{
        step(1, turn("w1")),
        step(2, turn("w1")),
        step(3, turn("w2")),
        step(4, turn("w2", R"(,"work_terminal":true)")), // a terminal message has no turn id
        step(5, running(R"(,"from":"ann")")),
        step(6, running()),
        step(7, running(R"(,"member_name":"ann")")),
        step(8, running(R"(,"from":"bob")")),
    };
    EXPECT_EQ(shape(rows(chat, ChatSurface::team)), QStringLiteral("G1,2 S3 G4,5,6,7 S8"));
}

TEST(StepRuns, HandOffsFoldWithStepsButOutsideActionsStandAlone)
{
    const QList<ChatMessage> chat{
        step(1, running()), step(2, R"({"tool":"delegate_task","status":"done","delegate_to":"sales-lead"})"),
        step(3, running()), step(4, R"({"tool":"send_email","status":"running"})"),
        step(5, running()), step(6, R"({"tool":"web_search","status":"done"})"),
    };
    EXPECT_EQ(shape(rows(chat, ChatSurface::team)), QStringLiteral("G1,2,3 S4 S5 S6"));
    EXPECT_TRUE(isInternalCollabEvent(chat[1], ChatSurface::team));
    EXPECT_FALSE(isGroupable(chat[3], ChatSurface::team));
    EXPECT_TRUE(isGroupable(message(9, "assistant", "Browsing: a.com", R"({"kind":"goal_step"})"), ChatSurface::solo));
}

TEST(StepRuns, ConsecutiveArtifactsOfOneTurnBecomeChips)
{
    const QList<ChatMessage> chat{
        message(1, "assistant", "", R"({"image":{"url":"https://a.example/1.png"}})"),
        message(2, "assistant", "", R"({"document":{"url":"https://a.example/r.pdf"}})"),
        message(3, "assistant", "Done"),
        message(4, "assistant", "", R"({"image":{"url":"https://a.example/2.png"}})"),
    };
    EXPECT_EQ(shape(rows(chat, ChatSurface::solo)), QStringLiteral("C1,2 S3 S4"));
}

TEST(DisplayOrder, WithinOneWorkStepsThenInterimThenAnswerThenChainReport)
{
    const QList<ChatMessage> chat{
        message(1, "user", "go"),
        message(2, "assistant", "Answer", R"({"work_id":"w"})"),
        message(3, "assistant", "Chain", R"({"work_id":"w","kind":"CHAIN_REPORT"})"),
        message(4, "assistant", "Unrelated"),
        step(5, R"({"work_id":"w","tool":"web_search","status":"running"})"),
        message(6, "assistant", "  \u23F3 still working", R"({"work_id":"w"})"),
        step(7, R"({"work_id":"w","tool":"web_search","status":"running"})"),
        message(8, "user", "next"),
        message(9, "assistant", "Late answer", R"({"work_id":"w"})"),
        step(10, R"({"work_id":"w","tool":"web_search","status":"running"})"),
    };
    QList<qint64> ids;
    for (const ChatMessage& m : orderedTurns(chat))
        ids.append(m.id);
    // The unrelated message keeps its slot; work never crosses a user turn.
    EXPECT_EQ(ids, (QList<qint64>{1, 5, 7, 4, 6, 2, 3, 8, 10, 9}));
    EXPECT_EQ(turnRank(message(1, "assistant", "", R"({"kind":"turn_spend"})")), 1);
}

TEST(TurnIdentity, OnlyNonTerminalChatTurnsHaveOne)
{
    EXPECT_EQ(chatTurnID(step(1, R"({"work_kind":"chat_turn","work_id":"w9"})")), QStringLiteral("w9"));
    EXPECT_FALSE(chatTurnID(step(1, R"({"work_kind":"goal_run","work_id":"w9"})")));
    EXPECT_FALSE(chatTurnID(step(1, R"({"work_kind":"chat_turn","work_id":""})")));
    EXPECT_FALSE(chatTurnID(step(1, R"({"work_kind":"chat_turn","work_id":"w","work_terminal":true})")));
    EXPECT_EQ(chatTurnID(step(1, R"({"work_kind":"chat_turn","work_id":"w","work_terminal":"true"})")),
              QStringLiteral("w"));
}

TEST(GoalReviewRows, PlacedAfterTheLastRowOfTheirRun)
{
    const QList<ChatMessage> chat{
        message(1, "assistant", "Cycle 1", R"({"goal_run_id":"r1"})"),
        step(2, running(R"(,"goal_run_id":"r1")")),
        step(3, running(R"(,"goal_run_id":"r1")")),
        message(4, "assistant", "Other"),
    };
    const GoalReviewItem r1{QStringLiteral("g"), QStringLiteral("r1"), 2, QStringLiteral("Find leads"), QString(), {}};
    const GoalReviewItem gone{QStringLiteral("g"), QStringLiteral("r0"), 1, QString(), QString(), {}};
    const auto withReviews = GoalReviewRows::attach(rows(chat, ChatSurface::solo), {gone, r1});
    EXPECT_EQ(shape(withReviews), QStringLiteral("S1 G2,3 Rr1 S4"));
    EXPECT_TRUE(withReviews[2].scrollIds().isEmpty());
}

TEST(RowIdentity, StableWhileAGroupGrowsAndUniqueForRepeatedIds)
{
    QList<ChatMessage> chat{message(1, "user", "go"), step(2, running())};
    const auto before = rows(chat, ChatSurface::solo);
    chat.append(step(3, running()));
    const auto after = rows(chat, ChatSurface::solo);
    ASSERT_EQ(after.size(), 2);
    EXPECT_EQ(before[1].id(), after[1].id()); // the single step became a group under the same id
    EXPECT_NE(before[1].revision(), after[1].revision());
    EXPECT_EQ(before[0].revision(), after[0].revision());

    // Edited text of the same length still changes the revision.
    QList<ChatMessage> edited = chat;
    edited[0].content = QStringLiteral("no");
    EXPECT_NE(rows(edited, ChatSurface::solo)[0].revision(), after[0].revision());

    const QList<ChatMessage> repeated{message(0, "assistant", "a"), message(0, "assistant", "b"),
                                      message(5, "user", "x"), message(5, "user", "x")};
    QSet<ChatRowId> ids;
    for (const ChatRowItem& row : rows(repeated, ChatSurface::solo))
        ids.insert(row.id());
    EXPECT_EQ(ids.size(), 4);
    EXPECT_EQ(rows(repeated, ChatSurface::solo)[3].id(), rows(repeated, ChatSurface::solo)[3].id());
}

TEST(HostileLists, ThousandsOfRepeatedIdsAndHandOffsStayLinearAndLoseNothing)
{
    QList<ChatMessage> chat;
    for (int i = 0; i < 5000; ++i)
        chat.append(i % 2 ? message(0, "assistant", "a")
                          : step(42, R"({"tool":"delegate_task","status":"done","delegate_to":"x"})"));
    const auto built = rows(chat, ChatSurface::team);
    QSet<ChatRowId> ids;
    qsizetype covered = 0;
    for (const ChatRowItem& row : built) {
        ids.insert(row.id());
        covered += row.scrollIds().size();
    }
    EXPECT_EQ(ids.size(), built.size());
    EXPECT_EQ(covered, chat.size());
    EXPECT_EQ(ChatRenderBatchPlanner::estimatedUTF8Bytes(built[1]), 1);

    QList<ChatMessage> handoffs;
    for (int i = 0; i < 5000; ++i)
        handoffs.append(step(i + 1,
                             QByteArray(R"({"tool":"delegate_task","status":"done","delegate_to":"m)")
                                 + QByteArray::number(i) + "\"}"));
    const auto card = reasoningCard(handoffs, ChatSurface::team, false);
    EXPECT_EQ(card.stepCount, 1);
    EXPECT_EQ(card.fullBlocks[0].stages[0].targets.size(), 5000);
    EXPECT_TRUE(card.title.endsWith(QStringLiteral(" +4998")));
}
