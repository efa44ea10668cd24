#include "session/viewmodel/UpdateBadgeModel.h"
#include "core/APIError.h"
#include "core/async/ManualClock.h"
#include "core/prefs/Preferences.h"
#include "session/model/AppcastFeed.h"
#include "session/viewmodel/AppUpdater.h"
#include "support/RunTask.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

QByteArray feed(const char* build, const char* shortVersion = nullptr)
{
    QByteArray item
        = "<rss><channel><item><title>Halvex</title>\n<sparkle:version> " + QByteArray(build) + " </sparkle:version>";
    if (shortVersion)
        item += "<sparkle:shortVersionString>" + QByteArray(shortVersion) + "</sparkle:shortVersionString>";
    item += "<enclosure url=\"https://example.com/halvex-7.tar.gz\" length=\"1\"/></item></channel></rss>";
    return item;
}

struct FakeFeed {
    QByteArray body;
    bool fail = false;
    int downloads = 0;
    FeedLoader loader()
    {
        return [this](QUrl, CancelToken) -> QCoro::Task<QByteArray> {
            ++downloads;
            if (fail)
                throw APIError::transport(QStringLiteral("offline"));
            co_return body;
        };
    }
};

class UpdateBadgeModelTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Preferences preferences{dir.filePath(QStringLiteral("prefs.ini"))};
    ManualClock clock;
    FakeFeed feedSource{feed("7", "1.4.0")};
    std::unique_ptr<UpdateBadgeModel> makeModel(std::optional<qint64> build = 5)
    {
        return std::make_unique<UpdateBadgeModel>(QUrl(QStringLiteral("http://127.0.0.1/appcast.xml")), build,
                                                  preferences, clock, feedSource.loader());
    }
};

TEST(AppcastFeedTest, ParsesExactlyTheTagsItNeeds)
{
    EXPECT_EQ(AppcastFeed::advertisedVersion(QString::fromUtf8(feed("7", "1.4.0")), 5), QStringLiteral("1.4.0"));
    EXPECT_EQ(AppcastFeed::advertisedVersion(QString::fromUtf8(feed("+7")), 5), QStringLiteral("7"));
    EXPECT_FALSE(AppcastFeed::advertisedVersion(QString::fromUtf8(feed("5", "1.3")), 5)); // same build: no badge
    EXPECT_FALSE(AppcastFeed::advertisedVersion(QString::fromUtf8(feed("-9")), 5));
    EXPECT_FALSE(AppcastFeed::advertisedVersion(QString::fromUtf8(feed("7.1")), 5));
    EXPECT_FALSE(AppcastFeed::advertisedVersion(QStringLiteral("<sparkle:version>9"), 5)); // never closed
    EXPECT_EQ(AppcastFeed::downloadURL(QString::fromUtf8(feed("7"))),
              QUrl(QStringLiteral("https://example.com/halvex-7.tar.gz")));
    EXPECT_FALSE(AppcastFeed::downloadURL(QStringLiteral(R"x(<enclosure url="file:///etc/passwd"/>)x")));
}

TEST_F(UpdateBadgeModelTest, ChecksAtMostOncePerIntervalUnlessForced)
{
    auto model = makeModel();
    runTask(model->refresh(false));
    EXPECT_EQ(feedSource.downloads, 1);
    EXPECT_EQ(model->availableVersion(), QStringLiteral("1.4.0"));

    // A second start of the app within four hours does not download again.
    auto again = makeModel();
    clock.advance(4 * 3600 * 1000 - 1);
    runTask(again->refresh(false));
    EXPECT_EQ(feedSource.downloads, 1);
    runTask(again->refresh(true));
    EXPECT_EQ(feedSource.downloads, 2);
}

TEST_F(UpdateBadgeModelTest, LoopRefreshesEveryIntervalAndFailuresKeepTheBadge)
{
    auto model = makeModel();
    model->start();
    model->start(); // already running: no second loop
    EXPECT_EQ(feedSource.downloads, 1);
    feedSource.fail = true;
    clock.advance(14'400'000);
    EXPECT_EQ(feedSource.downloads, 2);
    EXPECT_EQ(model->availableVersion(), QStringLiteral("1.4.0"));
    feedSource.fail = false;
    feedSource.body = feed("5");
    clock.advance(14'400'000);
    EXPECT_EQ(feedSource.downloads, 3);
    EXPECT_FALSE(model->availableVersion());
    model->stop();
    clock.advance(10 * 14'400'000);
    EXPECT_EQ(feedSource.downloads, 3);
}

TEST_F(UpdateBadgeModelTest, NothingWithoutFeedOrBuild)
{
    auto model = makeModel(std::nullopt);
    runTask(model->refresh(true));
    EXPECT_EQ(feedSource.downloads, 0);
    EXPECT_FALSE(preferences.updateBadgeLastCheck());
}

TEST_F(UpdateBadgeModelTest, PreferencesDefaultsAndThemeRule)
{
    EXPECT_EQ(preferences.themeMode(), QStringLiteral("light"));
    EXPECT_FALSE(preferences.sidebarCollapsed());
    EXPECT_EQ(preferences.browserPanelWidth(), 520.0);
    EXPECT_TRUE(preferences.modelChatIds().isEmpty());
    EXPECT_FALSE(preferences.settingsAgentId());
    preferences.setThemeMode(QStringLiteral("dark"));
    EXPECT_FALSE(preferences.prefersDarkScheme()); // only "gray" is dark
    preferences.setThemeMode(QStringLiteral("gray"));
    EXPECT_TRUE(preferences.prefersDarkScheme());
    preferences.setModelChatIds({QStringLiteral("c1"), QStringLiteral("c2")});
    Preferences reopened(dir.filePath(QStringLiteral("prefs.ini")));
    EXPECT_EQ(reopened.modelChatIds(), QStringList({QStringLiteral("c1"), QStringLiteral("c2")}));
}

TEST_F(UpdateBadgeModelTest, UpdaterOffersTheDownloadOnlyForANewerBuild)
{
    QUrl opened;
    AppUpdater updater(QUrl(QStringLiteral("http://127.0.0.1/appcast.xml")), 5, feedSource.loader(),
                       [&](const QUrl& url) {
                           opened = url;
                           return true;
                       });
    runTask(updater.check());
    EXPECT_TRUE(updater.updateAvailable());
    EXPECT_EQ(updater.statusText(), QStringLiteral("Version 1.4.0 is available."));
    EXPECT_TRUE(updater.openDownload());
    EXPECT_EQ(opened, QUrl(QStringLiteral("https://example.com/halvex-7.tar.gz")));

    feedSource.body = feed("5");
    runTask(updater.check());
    EXPECT_FALSE(updater.updateAvailable());
    EXPECT_EQ(updater.statusText(), QStringLiteral("You’re up to date."));
    feedSource.fail = true;
    runTask(updater.check());
    EXPECT_EQ(updater.statusText(), QStringLiteral("Couldn’t check for updates: offline"));
}

} // namespace
