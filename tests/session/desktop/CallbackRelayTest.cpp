#include "session/service/CallbackRelay.h"

#include "support/RunTask.h"

#include <QLocalSocket>
#include <QUuid>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {
QString uniqueName() { return QStringLiteral("halvex-test-") + QUuid::createUuid().toString(QUuid::Id128); }
} // namespace

TEST(CallbackRelay, ASecondLaunchHandsItsAddressesToTheRunningInstance)
{
    const QString name = uniqueName();
    CallbackRelay running(name);
    ASSERT_TRUE(running.listen());
    QList<QUrl> received;
    QObject::connect(&running, &CallbackRelay::urlReceived, [&](const QUrl& url) { received.append(url); });

    CallbackRelay second(name);
    EXPECT_FALSE(second.listen());
    const QUrl redirect(QStringLiteral("com.googleusercontent.apps.1-a:/oauth2redirect?code=4%2F0&state=s%20t"));
    ASSERT_TRUE(CallbackRelay::forward(name, {redirect, QUrl(QStringLiteral("halvex:/open?x=1"))}));

    ASSERT_TRUE(processUntil([&] { return received.size() == 2; }));
    EXPECT_EQ(received.at(0), redirect);
    EXPECT_EQ(received.at(0).query(QUrl::FullyDecoded), QStringLiteral("code=4/0&state=s t"));
}

TEST(CallbackRelay, NoRunningInstanceMeansNoHandOver)
{
    EXPECT_FALSE(CallbackRelay::forward(uniqueName(), {QUrl(QStringLiteral("x:/y"))}, 200));
}

TEST(CallbackRelay, GarbageAndOversizedLinesAreDropped)
{
    const QString name = uniqueName();
    CallbackRelay running(name);
    ASSERT_TRUE(running.listen());
    QList<QUrl> received;
    QObject::connect(&running, &CallbackRelay::urlReceived, [&](const QUrl& url) { received.append(url); });

    QLocalSocket hostile;
    hostile.connectToServer(name);
    ASSERT_TRUE(hostile.waitForConnected(2000));
    hostile.write("not a url\n\x00\xff\n" + QByteArray(CallbackRelay::maxLineBytes + 10, 'a'));
    hostile.flush();
    ASSERT_TRUE(processUntil([&] { return hostile.state() == QLocalSocket::UnconnectedState; }));
    EXPECT_TRUE(received.isEmpty());

    // The relay still serves the next launch.
    ASSERT_TRUE(CallbackRelay::forward(name, {QUrl(QStringLiteral("x:/ok"))}));
    ASSERT_TRUE(processUntil([&] { return received.size() == 1; }));
}

TEST(CallbackRelay, OnlySchemedArgumentsCount)
{
    const auto urls = CallbackRelay::urlsInArguments({QStringLiteral("/usr/bin/halvex"), QStringLiteral("--verbose"),
                                                      QStringLiteral("com.g.apps.1-a:/oauth2redirect?code=c"),
                                                      QStringLiteral("plain")});
    ASSERT_EQ(urls.size(), 1);
    EXPECT_EQ(urls.first().scheme(), QStringLiteral("com.g.apps.1-a"));
}
