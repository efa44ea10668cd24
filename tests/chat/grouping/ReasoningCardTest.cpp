#include "support/MessageFixtures.h"

#include "chat/viewmodel/grouping/ChatStepGrouping.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::ChatStepGrouping;
using fixtures::step;

namespace {

QStringList shownTexts(const QList<ReasoningBlock>& blocks)
{
    QStringList out;
    for (const ReasoningBlock& b : blocks)
        for (const ReasoningStage& s : b.stages)
            out.append(s.text);
    return out;
}

ChatMessage tool(qint64 id, const char* name, const char* status, const char* extra = "")
{
    return step(id, QByteArray(R"({"tool":")") + name + R"(","status":")" + status + "\"" + extra + "}");
}

} // namespace

TEST(ReasoningStatus, LastStageDecidesAndRunningNeedsALiveChat)
{
    const QList<ChatMessage> timedOut{tool(1, "web_search", "running"), tool(2, "crm_lookup", "TIMEOUT")};
    const auto failed = reasoningCard(timedOut, ChatSurface::solo, true);
    EXPECT_EQ(failed.status, ReasoningStatus::failed);
    EXPECT_EQ(failed.title, QStringLiteral("Finished with an error"));

    const QList<ChatMessage> queued{tool(1, "crm_lookup", "done"),
                                    tool(2, "web_search", "queued", R"(,"from":"@sales-lead")")};
    const auto live = reasoningCard(queued, ChatSurface::team, true);
    EXPECT_EQ(live.status, ReasoningStatus::running);
    EXPECT_EQ(live.title, QStringLiteral("Sales Lead is working\u2026"));
    EXPECT_EQ(live.fullBlocks.last().stages.last().text, QStringLiteral("Searching the web"));

    const auto settled = reasoningCard(queued, ChatSurface::team, false);
    EXPECT_EQ(settled.status, ReasoningStatus::done);
    EXPECT_EQ(settled.title, QStringLiteral("Work completed"));
    EXPECT_EQ(settled.fullBlocks.last().stages.last().text, QStringLiteral("Searched the web"));
    EXPECT_EQ(settled.meta, QStringLiteral("2 steps"));
    EXPECT_EQ(reasoningCard({tool(1, "x", "working")}, ChatSurface::solo, true).title, QStringLiteral("Working on it"));
    EXPECT_EQ(reasoningCard({tool(1, "x", "done")}, ChatSurface::solo, false).meta, QStringLiteral("1 step"));
}

TEST(ReasoningHandOffs, TargetsAreNamedAndLongListsShortened)
{
    QList<ChatMessage> handoffs;
    int id = 1;
    for (const char* who : {"ann", "@bob", "cara_lee", "dan", "eve"})
        handoffs.append(
            tool(id++, "delegate_task", "done", (QByteArray(R"(,"delegate_to":")") + who + "\"").constData()));
    EXPECT_EQ(reasoningCard(handoffs, ChatSurface::team, false).title, QStringLiteral("Handed off to Ann, Bob +3"));

    const QList<ChatMessage> continued{tool(1, "delegate_task", "done", R"(,"delegate_to":"cara_lee")"),
                                       tool(2, "delegate_task", "done", R"(,"delegate_to":"team")"),
                                       tool(3, "crm_lookup", "done")};
    const auto card = reasoningCard(continued, ChatSurface::team, false);
    EXPECT_EQ(card.title, QStringLiteral("Delegated to Cara Lee"));
    EXPECT_EQ(nameList({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}), QStringLiteral("A, B and C"));
    EXPECT_EQ(nameList({QStringLiteral("A"), QStringLiteral("B")}), QStringLiteral("A and B"));
}

TEST(ReasoningStages, RepeatsMergeAndBlocksFollowActors)
{
    const QList<ChatMessage> messages{
        step(1, R"({"from":"ann","tool":"reader_1","status":"done"})", "x"),
        step(2, R"({"from":"ann","tool":"reader_2","status":"done"})"),
        step(3, R"({"from":"bob","tool":"crm","status":"failed"})"),
        step(4, R"({"tool":"crm","status":"done"})"),
    };
    const auto card = reasoningCard(messages, ChatSurface::team, false);
    EXPECT_EQ(card.stepCount, 3); // "Reader 1" and "Reader 2" fold into one stage
    ASSERT_EQ(card.fullBlocks.size(), 3);
    EXPECT_EQ(card.fullBlocks[0].actor, QStringLiteral("ann"));
    ASSERT_EQ(card.fullBlocks[0].stages.size(), 1);
    EXPECT_EQ(card.fullBlocks[0].stages.constFirst().id, 2); // the later stage wins
    EXPECT_TRUE(card.fullBlocks[1].stages.constFirst().isFailed);
    EXPECT_FALSE(card.fullBlocks[2].hasActor);
    EXPECT_EQ(stepDedupKey(QStringLiteral("Opened 3 pages!")), stepDedupKey(QStringLiteral("opened  12 pages")));
    EXPECT_EQ(personName(QStringLiteral("@head_of-sales")), QStringLiteral("Head Of Sales"));
}

TEST(ReasoningFolding, FourStagesRecentWhileRunningWeightiestWhenDone)
{
    QList<ChatMessage> messages;
    const char* tools[] = {"alpha", "beta", "gamma", "delta", "epsilon", "zeta"};
    for (int i = 0; i < 6; ++i)
        messages.append(tool(i + 1, tools[i], "running"));
    const auto live = reasoningCard(messages, ChatSurface::solo, true);
    EXPECT_EQ(shownTexts(live.collapsedBlocks),
              (QStringList{QStringLiteral("Gamma"), QStringLiteral("Delta"), QStringLiteral("Epsilon"),
                           QStringLiteral("Zeta")}));
    EXPECT_EQ(live.hiddenCount, 2);
    EXPECT_EQ(shownTexts(live.fullBlocks).size(), 6);

    messages[0] = tool(1, "alpha", "error");
    messages[1] = tool(2, "beta", "done", R"(,"delegate_to":"ann")");
    const auto done = reasoningCard(messages, ChatSurface::solo, false);
    // The failure and the hand-off outweigh routine steps and stay in list order.
    EXPECT_EQ(shownTexts(done.collapsedBlocks),
              (QStringList{QStringLiteral("Could not complete this task"), QStringLiteral("Beta"),
                           QStringLiteral("Epsilon"), QStringLiteral("Zeta")}));
    EXPECT_EQ(done.hiddenCount, 2);
}

TEST(SettledTitle, RunningFormsBecomeFinished)
{
    struct Case {
        const char* running;
        const char* settled;
    };
    for (const Case& c : std::initializer_list<Case>{{"Opening example.com", "Opened example.com"},
                                                     {"Searching the web", "Searched the web"},
                                                     {"Preparing the brief", "Prepared the brief"},
                                                     {"Reading notes", "Read notes"},
                                                     {"Working on it", "Work completed"},
                                                     {"Working", "Done"},
                                                     {"Openings", "Openings"},
                                                     {"Sent an email", "Sent an email"}})
        EXPECT_EQ(StepLifecycle::settledTitle(QString::fromUtf8(c.running)), QString::fromUtf8(c.settled)) << c.running;
}

TEST(ReasoningStages, AskedForHelpReadsAsTeamwork)
{
    const auto stage
        = stageFor(step(1, R"({"status":"done"})", "Asked Bob to help with pricing"), ChatSurface::team, false);
    EXPECT_EQ(stage.text, QStringLiteral("Worked with another employee"));
}
