// The "System" colour scheme in the real settings window: chosen beside Light and Dark, it
// follows the desktop's preference as it changes, live, in every window.
#include "AppWindowFixture.h"

using namespace halvex;
using namespace halvex::test;

namespace {

using SystemSchemeWindowTest = AppWindowFixture;

// The choices are a Repeater's delegates: in the window's visual tree, not its object tree.
QQuickItem* choice(QQuickWindow* window, const char* name)
{
    QQuickItem* item = nullptr;
    const bool found = QTest::qWaitFor(
        [&] { return (item = findVisual(window->contentItem(), QString::fromLatin1(name))) != nullptr; }, kWaitMs);
    return found ? item : nullptr;
}

TEST_F(SystemSchemeWindowTest, TheSystemSchemeFollowsTheDesktopLive)
{
    launch();
    signInWithDemoAccount();
    QQuickWindow* settings = openSettingsWindow();
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(settings));
    QQuickItem* system = choice(settings, "scheme-system");
    QQuickItem* light = choice(settings, "scheme-light");
    QQuickItem* dark = choice(settings, "scheme-gray");
    ASSERT_TRUE(system && light && dark);
    EXPECT_TRUE(light->property("checked").toBool());

    theme->setDesktopPrefersDark(true);
    EXPECT_FALSE(theme->dark()) << "the light scheme ignores the desktop";
    click(system);
    EXPECT_EQ(preferences->themeMode(), QStringLiteral("system"));
    EXPECT_TRUE(theme->dark());
    EXPECT_TRUE(system->property("checked").toBool());
    EXPECT_FALSE(dark->property("checked").toBool()) << "dark by the desktop is still the System choice";
    EXPECT_FALSE(light->property("checked").toBool());
    screenshot(settings, "settings-appearance-system-dark");

    // The desktop switches back: the windows follow without a restart.
    const QColor darkWindow = theme->window();
    theme->setDesktopPrefersDark(false);
    EXPECT_FALSE(theme->dark());
    EXPECT_NE(theme->window(), darkWindow);
    EXPECT_TRUE(system->property("checked").toBool());
    screenshot(settings, "settings-appearance-system-light");

    click(dark);
    EXPECT_EQ(preferences->themeMode(), QStringLiteral("gray"));
    EXPECT_TRUE(theme->dark());
    click(light);
    EXPECT_FALSE(theme->dark());
}

} // namespace
