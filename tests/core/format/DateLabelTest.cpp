#include "core/format/ChatTimestamp.h"
#include "core/format/LabelCache.h"
#include "core/format/SettingsDate.h"

#include <QDateTime>
#include <QLocale>
#include <QThread>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <vector>

using namespace halvex;

namespace {

QString localClock(int hour, int minute)
{
    return QDateTime(QDate(2026, 12, 4), QTime(hour, minute), Qt::UTC).toLocalTime().toString(QStringLiteral("HH:mm"));
}

std::optional<QString> text(const char* raw) { return QString::fromUtf8(raw); }

} // namespace

TEST(ChatTimestamp, EveryServerFormOfOneInstantGivesTheSameLabel)
{
    ChatTimestamp::clearCache();
    const auto expected = localClock(9, 5);
    EXPECT_EQ(ChatTimestamp::label(text("2026-12-04T09:05:00.123Z")), expected);
    EXPECT_EQ(ChatTimestamp::label(text("2026-12-04T09:05:00Z")), expected);
    EXPECT_EQ(ChatTimestamp::label(text("2026-12-04T10:05:00.5+01:00")), expected);
    EXPECT_EQ(ChatTimestamp::label(text("2026-12-04 09:05:00+0000")), expected);
    EXPECT_EQ(ChatTimestamp::label(text("2026-12-04 04:05:00-0500")), expected);
}

TEST(ChatTimestamp, UnreadableTextHasNoLabelAndIsNotCached)
{
    ChatTimestamp::clearCache();
    EXPECT_EQ(ChatTimestamp::label(std::nullopt), std::nullopt);
    EXPECT_EQ(ChatTimestamp::label(QString()), std::nullopt);
    EXPECT_EQ(ChatTimestamp::label(text("yesterday")), std::nullopt);
    EXPECT_EQ(ChatTimestamp::label(text("2026-12-04T09:05:00")), std::nullopt); // no zone
    EXPECT_EQ(ChatTimestamp::label(text("2026-13-40T09:05:00Z")), std::nullopt);
    EXPECT_EQ(ChatTimestamp::cachedCount(), 0);
    EXPECT_TRUE(ChatTimestamp::label(text("2026-12-04T09:05:00Z")).has_value());
    EXPECT_EQ(ChatTimestamp::cachedCount(), 1);
}

TEST(LabelCache, EvictsLeastRecentlyUsedByCountAndByCost)
{
    LabelCache byCount(2, 1'000'000);
    byCount.insert(QStringLiteral("a"), QStringLiteral("1"));
    byCount.insert(QStringLiteral("b"), QStringLiteral("2"));
    ASSERT_TRUE(byCount.find(QStringLiteral("a"))); // a is now the most recent
    byCount.insert(QStringLiteral("c"), QStringLiteral("3"));
    EXPECT_TRUE(byCount.find(QStringLiteral("a")));
    EXPECT_FALSE(byCount.find(QStringLiteral("b")));
    EXPECT_EQ(byCount.count(), 2);

    // "é" is two UTF-8 bytes: cost 2 * (2 + 1) = 6.
    EXPECT_EQ(LabelCache::costOf(QStringLiteral("\u00E9"), QStringLiteral("x")), 6);
    EXPECT_EQ(LabelCache::costOf(QString(), QString()), 1);
    LabelCache byCost(100, 12);
    byCost.insert(QStringLiteral("k1"), QStringLiteral("v")); // 6
    byCost.insert(QStringLiteral("k2"), QStringLiteral("v")); // 12
    byCost.insert(QStringLiteral("k3"), QStringLiteral("v")); // 18: k1 goes
    EXPECT_FALSE(byCost.find(QStringLiteral("k1")));
    EXPECT_EQ(byCost.totalCost(), 12);
}

TEST(ChatTimestamp, ConcurrentLookupsAndInsertsAgree)
{
    ChatTimestamp::clearCache();
    std::vector<std::unique_ptr<QThread>> threads;
    std::atomic<int> wrong{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back(QThread::create([&wrong] {
            for (int i = 0; i < 3000; ++i) {
                const int minute = i % 60;
                const QString raw = QStringLiteral("2026-12-04T09:%1:00Z").arg(minute, 2, 10, QLatin1Char('0'));
                if (ChatTimestamp::label(raw) != localClock(9, minute))
                    ++wrong;
            }
        }));
        threads.back()->start();
    }
    for (auto& thread : threads)
        thread->wait();
    EXPECT_EQ(wrong.load(), 0);
}

TEST(SettingsDate, ShortDateInTheUsersLocaleOrTheRawText)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    const QDateTime instant(QDate(2026, 12, 4), QTime(9, 5), Qt::UTC);
    const QString expected = QLocale().toString(instant.toLocalTime(), QStringLiteral("d MMM, HH:mm"));
    EXPECT_EQ(SettingsDate::shortText(text("2026-12-04T09:05:00.250Z")), expected);
    EXPECT_EQ(SettingsDate::shortText(text("2026-12-04T09:05:00Z")), expected);
    EXPECT_EQ(SettingsDate::shortText(QString()), QStringLiteral("\u2014"));
    EXPECT_EQ(SettingsDate::shortText(std::nullopt), QStringLiteral("\u2014"));
    EXPECT_EQ(SettingsDate::shortText(text("soon")), QStringLiteral("soon"));
    // The database form is a chat-label form only.
    EXPECT_EQ(SettingsDate::shortText(text("2026-12-04 09:05:00+0000")), QStringLiteral("2026-12-04 09:05:00+0000"));
    QLocale::setDefault(saved);
}
