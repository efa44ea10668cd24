#include "support/MessageFixtures.h"

#include "chat/viewmodel/presentation/ChatMessageTextLength.h"
#include "chat/viewmodel/presentation/MessagePresentationResolver.h"
#include "chat/viewmodel/presentation/PresentationCache.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace halvex;
using fixtures::message;

TEST(PresentationCache, KeyedByIdSurfaceKindStatusAndTextLength)
{
    PresentationCache::shared().clear();
    ChatMessage m = message(501, "assistant", "Sources: a", R"({"kind":"text","status":"ok"})");
    EXPECT_EQ(MessagePresentationResolver::cacheKey(m, ChatSurface::team), QStringLiteral("501|t|text|ok|10"));
    EXPECT_EQ(MessagePresentationResolver::cachedResolve(m, ChatSurface::solo).variant, MessageVariant::report);
    // The last message is known by its data: a copy finds it, the other surface does not, a
    // clear forgets it.
    PresentationCache& cache = PresentationCache::shared();
    EXPECT_TRUE(cache.findLast(ChatMessage(m), ChatSurface::solo));
    EXPECT_FALSE(cache.findLast(m, ChatSurface::team));
    cache.clear();
    EXPECT_FALSE(cache.findLast(m, ChatSurface::solo));
    EXPECT_EQ(MessagePresentationResolver::cachedResolve(m, ChatSurface::solo).variant, MessageVariant::report);

    // Same key: the cached card is served even though the text changed.
    ChatMessage sameLength = m;
    sameLength.content = QStringLiteral("Plain text");
    EXPECT_EQ(MessagePresentationResolver::cachedResolve(sameLength, ChatSurface::solo).variant,
              MessageVariant::report);

    // A longer text, another status or the other surface resolves again.
    ChatMessage extended = m;
    extended.content = QStringLiteral("Plain text, longer");
    EXPECT_EQ(MessagePresentationResolver::cachedResolve(extended, ChatSurface::solo).variant, MessageVariant::plain);
    EXPECT_EQ(MessagePresentationResolver::cachedResolve(sameLength, ChatSurface::team).variant, MessageVariant::plain);

    // Unreadable ids never share a card.
    ChatMessage a = message(0, "assistant", "Sources: x");
    ChatMessage b = message(0, "assistant", "Plain  xyz");
    EXPECT_EQ(MessagePresentationResolver::cachedResolve(a, ChatSurface::solo).variant, MessageVariant::report);
    EXPECT_EQ(MessagePresentationResolver::cachedResolve(b, ChatSurface::solo).variant, MessageVariant::plain);
}

TEST(PresentationCache, BoundedByCountAndCostLeastRecentlyUsedFirst)
{
    PresentationCache cache(3, 100);
    const auto p = std::make_shared<const MessagePresentation>();
    cache.insert(QStringLiteral("a"), p, 10);
    cache.insert(QStringLiteral("b"), p, 10);
    cache.insert(QStringLiteral("c"), p, 10);
    ASSERT_TRUE(cache.find(QStringLiteral("a")));
    cache.insert(QStringLiteral("d"), p, 10);
    EXPECT_FALSE(cache.find(QStringLiteral("b")));
    EXPECT_TRUE(cache.find(QStringLiteral("a")));
    EXPECT_EQ(cache.count(), 3);
    cache.insert(QStringLiteral("e"), p, 85);
    EXPECT_LE(cache.totalCost(), 100);
    EXPECT_TRUE(cache.find(QStringLiteral("e")));
    cache.insert(QStringLiteral("huge"), p, 101);
    EXPECT_FALSE(cache.find(QStringLiteral("huge")));
    cache.insert(QStringLiteral("empty"), p, 0);
    EXPECT_TRUE(cache.find(QStringLiteral("empty")));
}

TEST(ChatMessageTextLength, CountsUTF8OfContentOrParts)
{
    EXPECT_EQ(ChatMessageTextLength::of(message(1, "assistant", "h\u00E9\u20AC\U0001F600")), 1 + 2 + 3 + 4);
    EXPECT_EQ(ChatMessageTextLength::of(message(1, "assistant", "ignored", R"({"msg_parts":["ab","c"]})")), 5);
    EXPECT_EQ(ChatMessageTextLength::of(message(1, "assistant", "xyz", R"({"msg_parts":[]})")), 3);
}

TEST(PresentationCache, ConcurrentWarmUpAgreesWithPlainResolution)
{
    PresentationCache::shared().clear();
    QList<ChatMessage> messages;
    for (int i = 1; i <= 400; ++i) {
        const char* meta = i % 3 == 0
            ? R"({"tool":"web_search","status":"running"})"
            : (i % 3 == 1 ? R"({"kind":"approval_request"})" : R"({"kind":"turn_spend","tokens":5})");
        messages.append(message(i, i % 3 == 0 ? "step" : "assistant", "Sources: x", meta));
    }
    std::vector<std::thread> workers;
    std::atomic<int> mismatches = 0;
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([&, t] {
            for (int round = 0; round < 3; ++round) {
                for (qsizetype i = 0; i < messages.size(); ++i) {
                    const ChatMessage& m = messages[(i + t * 97) % messages.size()];
                    if (!(MessagePresentationResolver::cachedResolve(m, ChatSurface::team)
                          == MessagePresentationResolver::resolve(m, ChatSurface::team)))
                        ++mismatches;
                }
            }
        });
    }
    for (std::thread& w : workers)
        w.join();
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_EQ(PresentationCache::shared().count(), 400);
}
