#include "core/net/PersistentCookieJar.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace halvex;

namespace {
QNetworkCookie cookie(const char* name, const char* value, QDateTime expiry = {})
{
    QNetworkCookie c(name, value);
    c.setPath(QStringLiteral("/"));
    if (expiry.isValid())
        c.setExpirationDate(expiry);
    return c;
}
} // namespace

TEST(PersistentCookieJarTest, KeepsCookiesAcrossRunsAndDeletesOnlyTheNamedOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cookies"));
    const QUrl origin(QStringLiteral("http://127.0.0.1:8787"));
    const QDateTime later = QDateTime::currentDateTimeUtc().addDays(30);
    {
        PersistentCookieJar jar(path);
        jar.setCookiesFromUrl({cookie("hx-v2-session", "s1", later), cookie("other", "o1", later),
                               cookie("gone", "g", QDateTime::currentDateTimeUtc().addDays(-1))},
                              origin);
    }
    EXPECT_TRUE(QFile::permissions(path) & QFile::ReadOwner);
    EXPECT_FALSE(QFile::permissions(path) & QFile::ReadOther);

    PersistentCookieJar reloaded(path);
    auto names = [&] {
        QStringList n;
        for (const auto& c : reloaded.cookiesForUrl(origin))
            n.append(QString::fromUtf8(c.name()));
        n.sort();
        return n;
    };
    EXPECT_EQ(names(), QStringList({QStringLiteral("hx-v2-session"), QStringLiteral("other")}));
    EXPECT_EQ(reloaded.deleteCookies(QStringLiteral("hx-v2-session"), QUrl(QStringLiteral("http://example.com"))), 0);
    EXPECT_EQ(reloaded.deleteCookies(QStringLiteral("hx-v2-session"), origin), 1);
    EXPECT_EQ(names(), QStringList({QStringLiteral("other")}));
    EXPECT_EQ(PersistentCookieJar(path).cookiesForUrl(origin).size(), 1);
}
