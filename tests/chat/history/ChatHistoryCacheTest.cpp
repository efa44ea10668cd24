#include "chat/service/ChatHistoryCache.h"
#include "chat/service/ChatHistoryPageGate.h"

#include <gtest/gtest.h>

using namespace halvex;

namespace {

QList<ChatMessage> messages(qint64 from, qint64 to)
{
    QList<ChatMessage> out;
    for (qint64 id = from; id <= to; ++id) {
        ChatMessage m;
        m.id = id;
        out.append(m);
    }
    return out;
}

QString key(int i) { return QStringLiteral("chat-%1").arg(i); }

} // namespace

TEST(ChatHistoryCache, TrimmedListsKeepTheNewestAndAlwaysReportMore)
{
    ChatHistoryCache cache;
    cache.setMessages(QStringLiteral("a"), messages(1, 51));
    cache.setHasMore(QStringLiteral("a"), false);
    auto entry = cache.touched(QStringLiteral("a"));
    ASSERT_TRUE(entry);
    ASSERT_EQ(entry->messages->size(), 50);
    EXPECT_EQ(entry->messages->first().id, 2);
    EXPECT_EQ(entry->messages->last().id, 51);
    EXPECT_TRUE(entry->messagesWereTrimmed);
    EXPECT_EQ(entry->hasMore, true);

    cache.setMessages(QStringLiteral("a"), messages(1, 50));
    cache.setHasMore(QStringLiteral("a"), false);
    entry = cache.touched(QStringLiteral("a"));
    EXPECT_EQ(entry->messages->size(), 50);
    EXPECT_FALSE(entry->messagesWereTrimmed);
    EXPECT_EQ(entry->hasMore, false);
    EXPECT_FALSE(cache.touched(QStringLiteral("missing")));
}

TEST(ChatHistoryCache, NinthChatEvictsTheLeastRecentlyUsed)
{
    ChatHistoryCache cache;
    for (int i = 0; i < 8; ++i)
        cache.setMessages(key(i), messages(1, 1));
    EXPECT_EQ(cache.size(), 8);
    cache.touched(key(0)); // a read protects the oldest write
    cache.setRoster(key(8), {{QStringLiteral("scout"), QStringLiteral("Scout")}});
    EXPECT_EQ(cache.size(), 8);
    EXPECT_TRUE(cache.contains(key(0)));
    EXPECT_FALSE(cache.contains(key(1)));

    cache.setHasMore(key(2), true); // any write is a use too
    cache.setDetail(key(9), Agent{});
    EXPECT_TRUE(cache.contains(key(2)));
    EXPECT_FALSE(cache.contains(key(3)));
    EXPECT_TRUE(cache.contains(key(9)));
}

TEST(ChatHistoryCache, SettersOnlyTouchTheirOwnField)
{
    ChatHistoryCache cache;
    Agent agent;
    agent.id = QStringLiteral("a");
    cache.setDetail(QStringLiteral("a"), agent);
    cache.setMessages(QStringLiteral("a"), messages(3, 4));
    const auto e = cache.touched(QStringLiteral("a"));
    EXPECT_EQ(e->detail->id, QStringLiteral("a"));
    EXPECT_FALSE(e->hasMore);
    EXPECT_FALSE(e->roster);
    EXPECT_EQ(e->lastAccess, cache.accessClock());
    EXPECT_EQ(cache.accessClock(), 3u);
}

TEST(ChatHistoryPageGate, BoundSkipsOptimisticAndUnreadableIds)
{
    QList<ChatMessage> list = messages(-2, 0) + messages(7, 9);
    EXPECT_EQ(ChatHistoryPageGate::pagingBound(list), 7);
    EXPECT_FALSE(ChatHistoryPageGate::pagingBound(messages(-3, 0)));
    ChatHistoryPageGate gate;
    EXPECT_FALSE(gate.begin(messages(-3, 0)));
    EXPECT_FALSE(gate.activeBefore);
}

TEST(ChatHistoryPageGate, OneRequestInFlightAndNoneForAFetchedPage)
{
    ChatHistoryPageGate gate;
    const auto list = messages(10, 12);
    EXPECT_EQ(gate.begin(list), 10);
    EXPECT_FALSE(gate.begin(list)); // in flight
    gate.finish(10, true);
    EXPECT_FALSE(gate.activeBefore);
    EXPECT_FALSE(gate.begin(list)); // already fetched

    // A failed page may be asked again; a newer bound after success pages on.
    EXPECT_EQ(gate.begin(messages(5, 12)), 5);
    gate.finish(5, false);
    EXPECT_EQ(gate.lastCompletedBefore, 10);
    EXPECT_EQ(gate.begin(messages(5, 12)), 5);
}

// An open chat appends each event instead of storing its newest messages again: the result must
// be what storing the longer list gives, across the 50-message cut, and every write moves the stamp.
TEST(ChatHistoryCache, AppendingEqualsStoringTheLongerList)
{
    for (qint64 stored : {0, 1, 49, 50, 51}) {
        ChatHistoryCache appended;
        ChatHistoryCache set;
        const QString a = QStringLiteral("a");
        if (stored > 0) {
            appended.setMessages(a, messages(1, stored));
            set.setMessages(a, messages(1, stored));
        }
        appended.setHasMore(a, false);
        set.setHasMore(a, false);
        const quint64 before = appended.messagesStamp(a);
        ChatMessage next;
        next.id = stored + 1;
        appended.appendMessage(a, next);
        set.setMessages(a, messages(1, stored + 1));

        const auto got = appended.touched(a);
        const auto want = set.touched(a);
        EXPECT_EQ(*got->messages, *want->messages) << stored;
        EXPECT_EQ(got->messagesWereTrimmed, want->messagesWereTrimmed) << stored;
        EXPECT_EQ(got->hasMore, want->hasMore) << stored;
        EXPECT_GT(appended.messagesStamp(a), before) << stored;
    }
    ChatHistoryCache cache;
    cache.setMessages(key(1), messages(1, 1));
    cache.setMessages(key(2), messages(1, 1));
    EXPECT_NE(cache.messagesStamp(key(1)), cache.messagesStamp(key(2)));
    const quint64 stamp = cache.messagesStamp(key(1));
    cache.setHasMore(key(1), true);
    EXPECT_EQ(cache.messagesStamp(key(1)), stamp) << "only a write of the messages moves it";
    EXPECT_EQ(cache.messagesStamp(QStringLiteral("missing")), 0u);
}
