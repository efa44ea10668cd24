#include "session/service/CallbackRelay.h"

#include "support/RunTask.h"

#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>

#include <unistd.h>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {
QString uniqueName() { return QStringLiteral("halvex-test-") + QUuid::createUuid().toString(QUuid::Id128); }

// A second launch in its own process; returns its exit code.
int launchPeer(const QStringList& arguments)
{
    QProcess peer;
    peer.start(QStringLiteral(HALVEX_RELAY_PEER), arguments);
    // The running instance answers from this thread's event loop, so wait while serving it.
    if (!processUntil([&] { return peer.state() == QProcess::NotRunning; }))
        return -1;
    return peer.exitStatus() == QProcess::NormalExit ? peer.exitCode() : -1;
}

// The user's runtime folder pointed at a private temporary folder for one test.
class RuntimeFolder {
public:
    RuntimeFolder() : m_saved(qgetenv("XDG_RUNTIME_DIR"))
    {
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit());
    }
    ~RuntimeFolder() { qputenv("XDG_RUNTIME_DIR", m_saved); }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_saved;
};

constexpr auto userOnlyFolder = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
    | QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
} // namespace

TEST(CallbackRelay, TheSocketLivesInTheUsersRuntimeFolderForTheUserAlone)
{
    RuntimeFolder runtime;
    const QString name = CallbackRelay::defaultServerName();
    EXPECT_EQ(name, runtime.path() + QStringLiteral("/halvex/instance"));

    // A folder left wide open by somebody is tightened before the socket goes in.
    ASSERT_TRUE(QDir().mkpath(runtime.path() + QStringLiteral("/halvex")));
    QFile::setPermissions(runtime.path() + QStringLiteral("/halvex"), QFileDevice::Permissions(0x7777));
    CallbackRelay running(name);
    ASSERT_TRUE(running.listen());
    EXPECT_EQ(QFileInfo(runtime.path() + QStringLiteral("/halvex")).permissions(), userOnlyFolder);
    const auto socketPermissions = QFileInfo(name).permissions();
    EXPECT_FALSE(
        socketPermissions
        & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther));
}

TEST(CallbackRelay, ASecondProcessRaisesTheWindowOrHandsOverItsAddress)
{
    RuntimeFolder runtime;
    const QString name = CallbackRelay::defaultServerName();
    CallbackRelay running(name);
    ASSERT_TRUE(running.listen());
    QList<QUrl> received;
    int raised = 0;
    QObject::connect(&running, &CallbackRelay::urlReceived, [&](const QUrl& url) { received.append(url); });
    QObject::connect(&running, &CallbackRelay::raiseRequested, [&] { ++raised; });

    EXPECT_EQ(launchPeer({name}), 0);
    ASSERT_TRUE(processUntil([&] { return raised == 1; }));
    EXPECT_TRUE(received.isEmpty());

    const QString redirect = QStringLiteral("com.googleusercontent.apps.1-a:/oauth2redirect?code=4%2F0&state=x");
    EXPECT_EQ(launchPeer({name, QStringLiteral("--verbose"), redirect}), 0);
    ASSERT_TRUE(processUntil([&] { return received.size() == 1; }));
    EXPECT_EQ(received.first(), QUrl(redirect));
    EXPECT_EQ(raised, 1) << "an address is handed over, not a bare raise";
}

TEST(CallbackRelay, AProcessFindingNobodyBecomesTheInstanceAndReplacesAStaleSocket)
{
    RuntimeFolder runtime;
    const QString name = CallbackRelay::defaultServerName();
    {
        // A crashed instance leaves its socket file behind.
        CallbackRelay crashed(name);
        ASSERT_TRUE(crashed.listen());
    }
    QFile stale(name);
    if (!stale.exists()) {
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.close();
    }
    EXPECT_EQ(launchPeer({name}), 3);
}

TEST(CallbackRelay, AnotherUsersProcessIsRefusedEvenWhenThePermissionsLetItIn)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can start a process as another user";
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755));
    const QString name = dir.filePath(QStringLiteral("open/instance"));
    CallbackRelay running(name);
    ASSERT_TRUE(running.listen());
    QList<QUrl> received;
    QObject::connect(&running, &CallbackRelay::urlReceived, [&](const QUrl& url) { received.append(url); });
    // Somebody loosened everything: only the peer check is left.
    QFile::setPermissions(dir.filePath(QStringLiteral("open")), QFileDevice::Permissions(0x7755));
    QFile::setPermissions(name, QFileDevice::Permissions(0x6666));

    launchPeer({name, QStringLiteral("--as-user"), QStringLiteral("65534"), QStringLiteral("evil:/hijack")});
    // Connections are served in order: once our own address is in, the other one was handled.
    ASSERT_TRUE(CallbackRelay::forward(name, {QUrl(QStringLiteral("x:/ours"))}));
    ASSERT_TRUE(processUntil([&] { return !received.isEmpty(); }));
    EXPECT_EQ(received, QList<QUrl>{QUrl(QStringLiteral("x:/ours"))});
}

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
