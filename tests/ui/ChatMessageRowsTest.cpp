// The chat rows as the list view sees them: every change is a small edit, never a reset, and
// each row hands its delegate the fields of its kind.
#include "ui/chat/ChatMessageRows.h"
#include "ui/chat/KeptChatRows.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace halvex;

namespace {

ChatMessage message(qint64 id, const char* role, const char* text, JSONObject metadata = {})
{
    ChatMessage m;
    m.id = id;
    m.role = QString::fromLatin1(role);
    m.content = QString::fromUtf8(text);
    m.metadata.raw = std::move(metadata);
    return m;
}

struct Spies {
    explicit Spies(QAbstractItemModel* model)
        : resets(model, &QAbstractItemModel::modelReset),
          inserts(model, &QAbstractItemModel::rowsInserted),
          removals(model, &QAbstractItemModel::rowsRemoved),
          changes(model, &QAbstractItemModel::dataChanged)
    {}
    QSignalSpy resets, inserts, removals, changes;
};

TEST(ChatMessageRows, PrependAppendAndStreamingAreInsertsAndChangesOnly)
{
    ChatMessageRows model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QList<ChatMessage> list{message(10, "user", "Hi"), message(11, "assistant", "Hello")};
    model.setMessages(list);
    ASSERT_EQ(model.rowCount(), 2);
    Spies spy(&model);

    // An older page arrives above.
    list.prepend(message(9, "assistant", "Earlier answer"));
    list.prepend(message(8, "user", "Earlier question"));
    model.setMessages(list);
    EXPECT_EQ(model.rowCount(), 4);
    ASSERT_EQ(spy.inserts.count(), 1);
    EXPECT_EQ(spy.inserts.at(0).at(1).toInt(), 0);
    EXPECT_EQ(spy.inserts.at(0).at(2).toInt(), 1);
    EXPECT_EQ(spy.changes.count(), 0) << "rows already shown are left alone";

    // The last answer streams on: one change of that row.
    list.last().content = QStringLiteral("Hello there, here is more");
    model.setMessages(list);
    ASSERT_EQ(spy.changes.count(), 1);
    EXPECT_EQ(spy.changes.at(0).at(0).toModelIndex().row(), 3);
    EXPECT_EQ(model.data(model.index(3), ChatMessageRows::TextRole).toString(),
              QStringLiteral("Hello there, here is more"));

    // An optimistic turn is replaced by its confirmed copy.
    list.append(message(-1, "user", "Next"));
    model.setMessages(list);
    EXPECT_TRUE(model.data(model.index(4), ChatMessageRows::PendingRole).toBool());
    list.last().id = 12;
    model.setMessages(list);
    EXPECT_EQ(model.rowCount(), 5);
    EXPECT_FALSE(model.data(model.index(4), ChatMessageRows::PendingRole).toBool());
    EXPECT_EQ(spy.resets.count(), 0);

    model.setMessages({});
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(spy.resets.count(), 0);
}

// Told how many leading messages stayed (as the chat session tells it), the rows make the same
// edits as when they look for the change themselves.
TEST(ChatMessageRows, KnownUnchangedHeadMakesTheSameEdits)
{
    ChatMessageRows told, searched;
    QAbstractItemModelTester tester(&told, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QList<ChatMessage> list{message(1, "user", "Hi"), message(2, "assistant", "Hello")};
    told.setMessages(list);
    searched.setMessages(list);
    Spies toldSpy(&told), searchedSpy(&searched);
    const auto apply = [&](qsizetype unchangedBefore) {
        told.setMessages(list, unchangedBefore);
        searched.setMessages(list);
        ASSERT_EQ(told.rowCount(), searched.rowCount());
        for (int i = 0; i < told.rowCount(); ++i) {
            EXPECT_EQ(told.data(told.index(i), ChatMessageRows::IdRole),
                      searched.data(searched.index(i), ChatMessageRows::IdRole));
            EXPECT_EQ(told.data(told.index(i), ChatMessageRows::TextRole),
                      searched.data(searched.index(i), ChatMessageRows::TextRole));
        }
        EXPECT_EQ(toldSpy.inserts.count(), searchedSpy.inserts.count());
        EXPECT_EQ(toldSpy.removals.count(), searchedSpy.removals.count());
        EXPECT_EQ(toldSpy.changes.count(), searchedSpy.changes.count());
    };

    list.append(message(3, "user", "Search for it"));
    apply(2);
    list.append(message(4, "step", "Searching the web", {{QStringLiteral("status"), QStringLiteral("running")}}));
    apply(3);
    list[3].content = QStringLiteral("Searched the web");
    list[3].metadata.raw.insert(QStringLiteral("status"), QStringLiteral("done"));
    apply(3);
    list.append(message(5, "assistant", "Found it"));
    apply(4);
    list[4].content = QStringLiteral("Found it, and more");
    apply(4);
    EXPECT_EQ(toldSpy.resets.count(), 0);
    EXPECT_GE(toldSpy.inserts.count(), 3);
}

TEST(ChatMessageRows, KindsCarryTheirFieldsAndChoicesLeaveTheText)
{
    ChatMessageRows model;
    const JSONObject step{{QStringLiteral("kind"), QStringLiteral("tool_call")},
                          {QStringLiteral("status"), QStringLiteral("running")},
                          {QStringLiteral("tool"), QStringLiteral("web_search")},
                          {QStringLiteral("work_id"), QStringLiteral("w1")}};
    const JSONObject turn{{QStringLiteral("work_id"), QStringLiteral("w1")}};
    model.setMessages({message(1, "user", "Find it"), message(2, "step", "Searched the web: a", step),
                       message(3, "step", "Searched the web: b", step),
                       message(4, "assistant", "# Found\n\nPick one.\n\nOPTIONS: Short | Long", turn)});
    QStringList kinds;
    for (int i = 0; i < model.rowCount(); ++i)
        kinds << model.data(model.index(i), ChatMessageRows::KindRole).toString();
    ASSERT_EQ(kinds, (QStringList{QStringLiteral("user"), QStringLiteral("steps"), QStringLiteral("answer")}));

    const QVariantMap reasoning = model.data(model.index(1), ChatMessageRows::ReasoningRole).toMap();
    EXPECT_GE(reasoning.value(QStringLiteral("stepCount")).toInt(), 1);
    EXPECT_FALSE(reasoning.value(QStringLiteral("full")).toList().isEmpty());

    EXPECT_EQ(model.data(model.index(2), ChatMessageRows::ChoicesRole).toStringList(),
              (QStringList{QStringLiteral("Short"), QStringLiteral("Long")}));
    const QVariantList blocks = model.data(model.index(2), ChatMessageRows::BlocksRole).toList();
    ASSERT_FALSE(blocks.isEmpty());
    EXPECT_EQ(blocks.first().toMap().value(QStringLiteral("kind")).toString(), QStringLiteral("heading"));
    for (const QVariant& block : blocks)
        EXPECT_FALSE(block.toMap().value(QStringLiteral("text")).toString().contains(QStringLiteral("OPTIONS")));
    EXPECT_FALSE(model.data(model.index(5), ChatMessageRows::KindRole).isValid()) << "out of range reads nothing";

    // Approval busy and error live beside the rows and reach them as changes.
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    model.setLiveState(true, {}, {});
    EXPECT_GE(changes.count(), 1) << "a step group shows whether the chat still works";
    EXPECT_TRUE(model.data(model.index(1), ChatMessageRows::ReasoningRole).isValid());
}

TEST(ChatMessageRows, GoalReviewsFollowTheirRunAsInsertsAndTheirStateAsChangesOfTheirRow)
{
    ChatMessageRows model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const JSONObject run{{QStringLiteral("goal_run_id"), QStringLiteral("run-1")}};
    QList<ChatMessage> list{message(1, "user", "Find leads for the goal"), message(2, "assistant", "Three leads", run),
                            message(4, "user", "Thanks"), message(5, "assistant", "You are welcome")};
    model.setMessages(list);
    Spies spy(&model);
    GoalReviewItem review{
        QStringLiteral("g1"), QStringLiteral("run-1"), 2, QStringLiteral("Find 3 leads"), QString(), {}};
    const GoalReviewItem elsewhere{
        QStringLiteral("g2"), QStringLiteral("run-9"), 1, QStringLiteral("No run here"), QString(), {}};

    model.setGoalReviews({review, elsewhere}, {}, {});
    ASSERT_EQ(model.rowCount(), 5) << "a review whose run has no message stays out";
    ASSERT_EQ(spy.inserts.count(), 1);
    EXPECT_EQ(spy.inserts.at(0).at(1).toInt(), 2) << "right after the run's answer, before the next turn";
    EXPECT_EQ(model.data(model.index(2), ChatMessageRows::KindRole).toString(), QStringLiteral("goalReview"));
    EXPECT_EQ(model.data(model.index(2), ChatMessageRows::ReviewRole).toMap().value(QStringLiteral("key")).toString(),
              review.key());

    // Submitting: only the review row changes, and only its state.
    model.setGoalReviews({review, elsewhere}, {review.key()}, {});
    ASSERT_EQ(spy.changes.count(), 1);
    EXPECT_EQ(spy.changes.at(0).at(0).toModelIndex().row(), 2);
    EXPECT_TRUE(model.data(model.index(2), ChatMessageRows::ReviewBusyRole).toBool());
    model.setGoalReviews({review, elsewhere}, {}, {{review.key(), QStringLiteral("Could not review the result.")}});
    EXPECT_EQ(model.data(model.index(2), ChatMessageRows::ReviewErrorRole).toString(),
              QStringLiteral("Could not review the result."));
    EXPECT_FALSE(model.data(model.index(2), ChatMessageRows::ReviewBusyRole).toBool());

    // The run streams on: the review moves below the run's newest message and stays one row.
    list.insert(2,
                message(3, "assistant", "",
                        JSONObject{{QStringLiteral("goal_run_id"), QStringLiteral("run-1")},
                                   {QStringLiteral("kind"), QStringLiteral("turn_spend")}}));
    model.setMessages(list);
    ASSERT_EQ(model.rowCount(), 6);
    EXPECT_EQ(model.data(model.index(3), ChatMessageRows::KindRole).toString(), QStringLiteral("goalReview"));
    EXPECT_FALSE(model.data(model.index(3), ChatMessageRows::ReviewErrorRole).toString().isEmpty())
        << "its error stays with it";

    // Reviewed: the row goes, nothing else moves.
    const int removalsBefore = int(spy.removals.count());
    model.setGoalReviews({}, {}, {});
    EXPECT_EQ(model.rowCount(), 5);
    EXPECT_EQ(spy.removals.count(), removalsBefore + 1);
    EXPECT_EQ(spy.resets.count(), 0);
}

TEST(KeptChatRows, ARecentChatKeepsItsRowsAndTheOldestGivesWayToANewOne)
{
    KeptChatRows kept;
    const int first = kept.take(QStringLiteral("a-1"), ChatSurface::solo);
    kept.at(first).setMessages({message(1, "user", "Hi"), message(2, "assistant", "Hello")});
    for (int i = 2; i <= KeptChatRows::capacity; ++i)
        kept.take(QStringLiteral("a-%1").arg(i), ChatSurface::solo);

    // Back to the first chat: the same place, its rows as they were, and nothing reset.
    Spies spies(&kept.at(first));
    EXPECT_EQ(kept.take(QStringLiteral("a-1"), ChatSurface::solo), first);
    EXPECT_EQ(kept.at(first).rowCount(), 2);
    EXPECT_EQ(spies.resets.count(), 0);

    // One chat more: the one used longest ago (the second) empties for it, the first stays.
    const int second = kept.take(QStringLiteral("a-2"), ChatSurface::solo);
    kept.at(second).setMessages({message(5, "user", "Yo")});
    kept.take(QStringLiteral("a-3"), ChatSurface::solo);
    const int newcomer = kept.take(QStringLiteral("a-new"), ChatSurface::solo);
    EXPECT_NE(newcomer, first);
    EXPECT_NE(kept.take(QStringLiteral("a-4"), ChatSurface::solo), newcomer);
    EXPECT_EQ(kept.take(QStringLiteral("a-1"), ChatSurface::solo), first);
    EXPECT_EQ(kept.at(first).rowCount(), 2);

    // The same id on another surface is another chat; signing out empties every place.
    const int team = kept.take(QStringLiteral("a-1"), ChatSurface::team);
    EXPECT_NE(team, first);
    EXPECT_EQ(kept.at(team).rowCount(), 0);
    kept.clear();
    EXPECT_EQ(kept.at(first).rowCount(), 0);
    EXPECT_EQ(kept.all().size(), KeptChatRows::capacity);
}

} // namespace
