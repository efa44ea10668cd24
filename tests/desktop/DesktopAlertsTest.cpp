#include "desktop/viewmodel/DesktopAlerts.h"
#include "desktop/service/DesktopNotifications.h"
#include "desktop/service/LauncherEntry.h"

#include "core/prefs/AppNotifications.h"

#include "FakeDesktop.h"
#include "PrivateBus.h"
#include "support/RunTask.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;
using namespace Qt::StringLiterals;

namespace {

const QString appId = u"app.halvex.Test"_s;

struct AlertsFixture {
    PrivateBus bus;
    AppNotifications appBus;
    DesktopNotifications notifications{bus.client(), appId};
    LauncherEntry launcher{bus.client(), appId};
    DesktopAlerts alerts{notifications, launcher, appBus};
    QList<std::pair<QString, QVariant>> posted;
    int raised = 0;

    AlertsFixture()
    {
        QObject::connect(&appBus, &AppNotifications::posted, [this](const QString& name, const QVariant& object) {
            posted.append({name, object});
        });
        QObject::connect(&alerts, &DesktopAlerts::raiseRequested, [this] { ++raised; });
    }
};

DesktopAlert turnOf(const QString& chatId, const QString& name, const QString& text)
{
    return {DesktopAlertKind::turnFinished, chatId, name, text};
}

} // namespace

TEST(DesktopAlerts, InTheBackgroundANotificationOpensItsChatAndANewerOneReplacesIt)
{
    AlertsFixture f;
    ASSERT_TRUE(f.bus.isValid());
    FakeNotificationServer server(f.bus.desktop());
    ASSERT_TRUE(server.isRegistered());
    f.bus.settle();

    f.alerts.setWindowActive(false);
    f.alerts.alert(turnOf(u"agent-1"_s, u"Support\nDesk"_s, u"Refund sent.\n\n<b>Ticket</b> closed & archived"_s));
    ASSERT_TRUE(processUntil([&] { return server.shown.size() == 1; }));
    const ShownNotification first = server.shown.first();
    EXPECT_EQ(first.summary, u"Support Desk replied"_s);
    // A server that reads markup must show the service's text as it is.
    EXPECT_EQ(first.body, u"Refund sent. &lt;b&gt;Ticket&lt;/b&gt; closed &amp; archived"_s);
    EXPECT_EQ(first.icon, appId);
    EXPECT_EQ(first.hints.value(u"desktop-entry"_s).toString(), appId);
    EXPECT_TRUE(first.actions.contains(u"default"_s));

    // The same chat's next news replaces its notification; another chat gets its own.
    f.alerts.alert({DesktopAlertKind::approvalWaiting, u"agent-1"_s, u"Support Desk"_s, u"Send the refund?"_s});
    f.alerts.alert(turnOf(u"team:growth"_s, u"Growth"_s, u"Plan ready"_s));
    ASSERT_TRUE(processUntil([&] { return server.shown.size() == 3; }));
    // The approval waits for the first notification's id, so it may come after the other chat's.
    const auto shownAs = [&](const QString& summary) {
        for (const ShownNotification& shown : server.shown) {
            if (shown.summary == summary)
                return shown;
        }
        return ShownNotification{};
    };
    EXPECT_EQ(shownAs(u"Support Desk needs your approval"_s).replaces, first.id);
    const ShownNotification growth = shownAs(u"Growth replied"_s);
    EXPECT_EQ(growth.replaces, 0u);

    // Another button, and somebody else's notification, open nothing.
    server.invoke(first.id, u"dismiss"_s);
    server.invoke(999, u"default"_s);
    server.invoke(growth.id, u"default"_s);
    ASSERT_TRUE(processUntil([&] { return f.raised == 1; }));
    ASSERT_EQ(f.posted.size(), 1);
    EXPECT_EQ(f.posted.first().first, Notification::halvOpenAgent);
    EXPECT_EQ(f.posted.first().second.toString(), u"team:growth"_s);

    // A dismissed notification is forgotten: the chat's next alert is a new one.
    bool closedHeard = false;
    QObject::connect(&f.notifications, &DesktopNotifications::closed, [&](uint id) { closedHeard |= id == first.id; });
    server.dismiss(first.id);
    ASSERT_TRUE(processUntil([&] { return closedHeard; }));
    f.alerts.alert(turnOf(u"agent-1"_s, u"Support Desk"_s, u"Done"_s));
    ASSERT_TRUE(processUntil([&] { return server.shown.size() == 4; }));
    EXPECT_EQ(server.shown.last().replaces, 0u);
}

TEST(DesktopAlerts, NothingIsShownWhileTheWindowIsActiveOrWithoutAServer)
{
    AlertsFixture f;
    ASSERT_TRUE(f.bus.isValid());
    // No notification server on the bus: the call fails quietly.
    f.alerts.setWindowActive(false);
    f.alerts.alert(turnOf(u"agent-1"_s, u"Kai"_s, u"Hello"_s));
    drainEvents();

    FakeNotificationServer server(f.bus.desktop());
    ASSERT_TRUE(server.isRegistered());
    f.bus.settle();
    f.alerts.setWindowActive(true);
    f.alerts.alert(turnOf(u"agent-1"_s, u"Kai"_s, u"Hello"_s));
    f.alerts.setWindowActive(false);
    f.alerts.alert({DesktopAlertKind::goalReviewWaiting, u"agent-2"_s, QString(), QString(4000, u'x')});
    ASSERT_TRUE(processUntil([&] { return !server.shown.isEmpty(); }));
    drainEvents();
    ASSERT_EQ(server.shown.size(), 1);
    EXPECT_EQ(server.shown.first().summary, u"A result from Your employee waits for your review"_s);
    EXPECT_EQ(server.shown.first().body.size(), DesktopAlert::maxBodyChars);
}

TEST(DesktopAlerts, TheLauncherShowsTheUnreadCountOnlyWhenItChanges)
{
    AlertsFixture f;
    ASSERT_TRUE(f.bus.isValid());
    FakeDock dock(f.bus.desktop());
    f.bus.settle();

    f.alerts.setUnread(3);
    f.alerts.setUnread(3);
    f.alerts.setUnread(0);
    ASSERT_TRUE(processUntil([&] { return dock.updates.size() == 2; }));
    drainEvents();
    ASSERT_EQ(dock.updates.size(), 2);
    EXPECT_EQ(dock.updates.first().appUri, u"application://app.halvex.Test.desktop"_s);
    EXPECT_EQ(dock.updates.first().properties.value(u"count"_s).toLongLong(), 3);
    EXPECT_TRUE(dock.updates.first().properties.value(u"count-visible"_s).toBool());
    EXPECT_FALSE(dock.updates.last().properties.value(u"count-visible"_s).toBool());
}
