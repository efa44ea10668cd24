#include "desktop/service/ColorSchemePortal.h"

#include "FakeDesktop.h"
#include "PrivateBus.h"
#include "support/RunTask.h"
#include <QDBusPendingCallWatcher>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;
using namespace Qt::StringLiterals;

TEST(ColorSchemePortal, ReadsTheDesktopPreferenceAndFollowsItsChanges)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isValid());
    FakeSettingsPortal portal(bus.desktop(), 1);
    ASSERT_TRUE(portal.isRegistered());
    ColorSchemePortal scheme(bus.client());
    int changes = 0;
    QObject::connect(&scheme, &ColorSchemePortal::changed, [&] { ++changes; });
    bus.settle();

    scheme.read();
    ASSERT_TRUE(processUntil([&] { return changes == 1; }));
    EXPECT_EQ(scheme.scheme(), DesktopColorScheme::dark);

    // Other settings, and the same value again, change nothing.
    portal.change(u"org.freedesktop.appearance"_s, u"accent-color"_s, 2);
    portal.change(u"org.gnome.desktop.interface"_s, u"color-scheme"_s, 2);
    portal.change(u"org.freedesktop.appearance"_s, u"color-scheme"_s, 1);
    portal.change(u"org.freedesktop.appearance"_s, u"color-scheme"_s, 2);
    ASSERT_TRUE(processUntil([&] { return changes == 2; }));
    EXPECT_EQ(scheme.scheme(), DesktopColorScheme::light);

    portal.change(u"org.freedesktop.appearance"_s, u"color-scheme"_s, 7);
    ASSERT_TRUE(processUntil([&] { return changes == 3; }));
    EXPECT_EQ(scheme.scheme(), DesktopColorScheme::noPreference);
}

TEST(ColorSchemePortal, AChangeHeardBeforeTheFirstAnswerWins)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isValid());
    FakeSettingsPortal portal(bus.desktop(), 2);
    ColorSchemePortal scheme(bus.client());
    bus.settle();
    scheme.read();
    // The signal leaves the portal before the read's answer does.
    portal.change(u"org.freedesktop.appearance"_s, u"color-scheme"_s, 1);
    // Answers on one connection come in order: once a later read is answered, so was the first.
    QDBusMessage probe = QDBusMessage::createMethodCall(ColorSchemePortal::serviceName, ColorSchemePortal::objectPath,
                                                        ColorSchemePortal::interfaceName, u"Read"_s);
    probe << ColorSchemePortal::appearance << ColorSchemePortal::colorSchemeKey;
    QDBusPendingCallWatcher later(bus.client().asyncCall(probe));
    ASSERT_TRUE(processUntil([&] { return later.isFinished(); }));
    drainEvents();
    EXPECT_EQ(portal.reads, 2);
    EXPECT_EQ(scheme.scheme(), DesktopColorScheme::dark);
}

TEST(ColorSchemePortal, WithoutAPortalThereIsNoPreference)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isValid());
    ColorSchemePortal scheme(bus.client());
    bool answered = false;
    scheme.read();
    // The bus answers "no such service" at once; nothing changes.
    QObject::connect(&scheme, &ColorSchemePortal::changed, [&] { answered = true; });
    drainEvents(50);
    EXPECT_FALSE(answered);
    EXPECT_EQ(scheme.scheme(), DesktopColorScheme::noPreference);
    EXPECT_EQ(ColorSchemePortal::fromPortalValue(QVariant(u"dark"_s)), DesktopColorScheme::noPreference);
}
