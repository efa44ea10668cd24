#include "core/async/ManualClock.h"
#include "core/net/PersistentCookieJar.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace halvex;
using namespace Qt::StringLiterals;

namespace {

using Outcome = SecretStore::Outcome;

// A secret store that answers when the test says so, or never.
class FakeSecretStore final : public SecretStore {
public:
    void read(std::function<void(Outcome, QByteArray)> done) override { pendingRead = std::move(done); }
    void write(QByteArray secret, std::function<void(bool)> done) override
    {
        written.append(secret);
        pendingWrite = std::move(done);
    }
    void answerRead(Outcome outcome, const QByteArray& secret = {}) { std::exchange(pendingRead, {})(outcome, secret); }
    void answerWrite(bool stored) { std::exchange(pendingWrite, {})(stored); }

    std::function<void(Outcome, QByteArray)> pendingRead;
    std::function<void(bool)> pendingWrite;
    QList<QByteArray> written;
};

const QUrl origin(u"http://127.0.0.1:8787"_s);

QNetworkCookie cookie(const char* name, const char* value)
{
    QNetworkCookie c(name, value);
    c.setPath(u"/"_s);
    c.setExpirationDate(QDateTime::currentDateTimeUtc().addDays(30));
    return c;
}

// A session cookie as the jar stores it: with the domain it was set for.
QByteArray session(const char* value)
{
    QNetworkCookie c = cookie("hx-v2-session", value);
    c.setDomain(origin.host());
    return c.toRawForm(QNetworkCookie::Full) + '\n';
}

bool holds(const QByteArray& secret, const char* value)
{
    return secret.startsWith(QByteArray("hx-v2-session=") + value + ';') && secret.count('\n') == 1;
}

QByteArray fileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString sessionValue(const PersistentCookieJar& jar)
{
    for (const auto& c : jar.cookiesForUrl(origin)) {
        if (c.name() == "hx-v2-session")
            return QString::fromUtf8(c.value());
    }
    return {};
}

struct JarFixture {
    QTemporaryDir dir;
    QString path = dir.filePath(u"cookies"_s);
    FakeSecretStore store;
    ManualClock clock;

    std::unique_ptr<PersistentCookieJar> open()
    {
        return std::make_unique<PersistentCookieJar>(path, store, "hx-v2-session", clock);
    }
    void seedFile(const QList<QNetworkCookie>& cookies)
    {
        PersistentCookieJar plain(path);
        plain.setCookiesFromUrl(cookies, origin);
    }
};

} // namespace

TEST(SessionCookieSecret, TheSessionMovesFromTheFileIntoTheStoreOnceTheStoreHasIt)
{
    JarFixture f;
    f.seedFile({cookie("hx-v2-session", "s1"), cookie("theme", "t")});
    {
        auto jar = f.open();
        EXPECT_FALSE(jar->isReady());
        // Usable at once from the file while the store is asked.
        EXPECT_EQ(sessionValue(*jar), u"s1"_s);
        f.store.answerRead(Outcome::missing);
        EXPECT_TRUE(jar->isReady());
        ASSERT_EQ(f.store.written.size(), 1);
        EXPECT_TRUE(holds(f.store.written.first(), "s1"));
        // Not confirmed yet: the file still has it.
        EXPECT_TRUE(fileText(f.path).contains("hx-v2-session=s1"));
        f.store.answerWrite(true);
        EXPECT_FALSE(fileText(f.path).contains("hx-v2-session"));
        EXPECT_TRUE(fileText(f.path).contains("theme=t"));
        EXPECT_TRUE(jar->secretInStore());
    }
    // The next run finds the session in the store, and the rest of the jar in the file.
    auto jar = f.open();
    f.store.answerRead(Outcome::found, f.store.written.first());
    EXPECT_EQ(sessionValue(*jar), u"s1"_s);
    EXPECT_EQ(jar->cookiesForUrl(origin).size(), 2);
    EXPECT_EQ(f.store.written.size(), 1) << "an unchanged session is not written again";

    // Signing out empties the store too.
    jar->deleteCookies(u"hx-v2-session"_s, origin);
    ASSERT_EQ(f.store.written.size(), 2);
    EXPECT_TRUE(f.store.written.last().isEmpty());
}

TEST(SessionCookieSecret, WithoutAStoreOrWhenItRefusesTheFileKeepsTheSession)
{
    JarFixture f;
    {
        auto jar = f.open();
        f.store.answerRead(Outcome::unavailable);
        EXPECT_TRUE(jar->isReady());
        jar->setCookiesFromUrl({cookie("hx-v2-session", "s2")}, origin);
        EXPECT_TRUE(f.store.written.isEmpty());
        EXPECT_TRUE(fileText(f.path).contains("hx-v2-session=s2"));
        EXPECT_FALSE(QFile::permissions(f.path) & (QFile::ReadGroup | QFile::ReadOther));
    }
    {
        auto jar = f.open();
        f.store.answerRead(Outcome::missing);
        f.store.answerWrite(false);
        // A store that takes nothing: the session stays in the file and is not offered again.
        EXPECT_TRUE(fileText(f.path).contains("hx-v2-session=s2"));
        jar->setCookiesFromUrl({cookie("hx-v2-session", "s3")}, origin);
        EXPECT_EQ(f.store.written.size(), 1);
        EXPECT_TRUE(fileText(f.path).contains("hx-v2-session=s3"));
    }
}

TEST(SessionCookieSecret, AHangingStoreDelaysStartUpOnlyUntilTheDeadlineAndItsLateAnswerLosesNothing)
{
    JarFixture f;
    auto jar = f.open();
    int ready = 0;
    QObject::connect(jar.get(), &PersistentCookieJar::ready, [&] { ++ready; });
    f.clock.advance(PersistentCookieJar::secretReadTimeoutMs - 1);
    EXPECT_EQ(ready, 0);
    f.clock.advance(1);
    EXPECT_EQ(ready, 1);
    EXPECT_FALSE(jar->secretInStore());

    // The late answer brings a session the file did not have.
    f.store.answerRead(Outcome::found, session("kept"));
    EXPECT_EQ(sessionValue(*jar), u"kept"_s);
    EXPECT_TRUE(fileText(f.path).contains("hx-v2-session=kept"));
    EXPECT_EQ(ready, 1);
}

TEST(SessionCookieSecret, ASignInBeforeTheStoreAnswersWinsOverTheStoredSession)
{
    JarFixture f;
    auto jar = f.open();
    jar->setCookiesFromUrl({cookie("hx-v2-session", "new")}, origin);
    f.store.answerRead(Outcome::found, session("old"));
    EXPECT_EQ(sessionValue(*jar), u"new"_s);
    ASSERT_EQ(f.store.written.size(), 1);
    EXPECT_TRUE(holds(f.store.written.first(), "new"));

    // A change while the write is in flight is written after it.
    jar->setCookiesFromUrl({cookie("hx-v2-session", "newer")}, origin);
    EXPECT_EQ(f.store.written.size(), 1);
    f.store.answerWrite(true);
    ASSERT_EQ(f.store.written.size(), 2);
    EXPECT_TRUE(holds(f.store.written.last(), "newer"));
    EXPECT_TRUE(fileText(f.path).contains("hx-v2-session=newer"));
    f.store.answerWrite(true);
    EXPECT_FALSE(fileText(f.path).contains("hx-v2-session"));

    // A late hang-up is harmless after the store answered.
    f.clock.advance(PersistentCookieJar::secretReadTimeoutMs);
    EXPECT_TRUE(jar->secretInStore());
}
