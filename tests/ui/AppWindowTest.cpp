// The real windows, offscreen, against the real local service: sign in with the demo account,
// the sidebar, both colour schemes, signing out, the settings window and the update badge.
#include "AppWindowFixture.h"

#include "session/viewmodel/SessionViewModel.h"

#include "ui/app/QmlPlugins.h"

#include <algorithm>
#include <functional>

using namespace halvex;
using namespace halvex::test;

namespace {

using AppWindowTest = AppWindowFixture;

TEST_F(AppWindowTest, SignInFormFollowsItsModesAndRefusesAWrongPassword)
{
    launch();
    EXPECT_EQ(window->width(), 1280);
    EXPECT_EQ(window->height(), 820);
    EXPECT_EQ(window->minimumSize(), QSize(1080, 720));
    QQuickItem* submit = waitFor(window, "submitButton");
    ASSERT_NE(submit, nullptr);
    EXPECT_FALSE(submit->isEnabled());
    SignInForm* form = shell->signIn();
    EXPECT_EQ(submit->property("text").toString(), form->submitLabel());
    screenshot(window, "sign-in");

    form->toggleMode();
    EXPECT_TRUE(form->signUp());
    EXPECT_EQ(submit->property("text").toString(), form->submitLabel());
    screenshot(window, "sign-up");
    form->toggleMode();

    form->setEmail(service.demoEmail());
    form->setPassword(QStringLiteral("not the password"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return submit->isEnabled(); }, kWaitMs));
    click(submit);
    QQuickItem* error = waitFor(window, "authError");
    ASSERT_NE(error, nullptr);
    EXPECT_FALSE(error->property("text").toString().isEmpty());
    EXPECT_EQ(shell->screen(), QStringLiteral("signIn"));
    EXPECT_EQ(form->email(), service.demoEmail()) << "a failed sign-in keeps what was typed";
}

TEST_F(AppWindowTest, DemoAccountSignsInToTheSidebarInBothSchemes)
{
    launch();
    signInWithDemoAccount();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sidebarTitles().contains(QStringLiteral("Employees")); }, kWaitMs));
    const QStringList titles = sidebarTitles();
    ASSERT_NE(find(window, "sidebarList"), nullptr);
    // A row makes its member count and unread badge only when it shows them.
    const auto wants = [](QQuickItem* row) {
        const bool team = row->property("kind").toString() == QLatin1String("team")
            && !row->property("subtitle").toString().isEmpty();
        return std::pair{team, row->property("unread").toInt() > 0};
    };
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QList<QQuickItem*> shown = sidebarRowItems();
            return std::any_of(shown.begin(), shown.end(), [&](QQuickItem* row) {
                const auto [team, unread] = wants(row);
                return team || unread;
            });
        },
        kWaitMs))
        << "the demo workspace has a team and an unread chat";
    for (QQuickItem* row : sidebarRowItems()) {
        const auto [team, unread] = wants(row);
        EXPECT_EQ(findVisual(row, QStringLiteral("teamMemberCount")) != nullptr, team);
        EXPECT_EQ(findVisual(row, QStringLiteral("unreadBadge")) != nullptr, unread);
    }
    waitForConversation();
    QQuickItem* title = find(window, "chatTitle");
    ASSERT_NE(title, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !title->property("text").toString().isEmpty(); }, kWaitMs));
    screenshot(window, "main-light");

    // Ctrl+K focuses the search, and typing filters the list.
    QQuickItem* search = find(window, "sidebarSearch");
    ASSERT_NE(search, nullptr);
    window->requestActivate();
    QTest::keyClick(window, Qt::Key_K, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return search->hasActiveFocus(); }, kWaitMs));
    const QString someone = titles.at(titles.indexOf(QStringLiteral("Employees")) + 1);
    shell->sidebar()->setSearch(someone);
    EXPECT_TRUE(sidebarTitles().contains(someone));
    EXPECT_LT(sidebarTitles().size(), titles.size());
    shell->sidebar()->setSearch({});

    theme->setMode(QStringLiteral("gray"));
    EXPECT_TRUE(theme->dark());
    screenshot(window, "main-dark");
    theme->setMode(QStringLiteral("dark"));
    EXPECT_FALSE(theme->dark()) << "only \"gray\" is the dark scheme";
    theme->setMode(QStringLiteral("light"));

    // Collapse is remembered.
    click(find(window, "hideSidebar"));
    EXPECT_TRUE(preferences->sidebarCollapsed());
    QQuickItem* show = waitFor(window, "showSidebar");
    ASSERT_NE(show, nullptr);
    click(show);
    EXPECT_FALSE(preferences->sidebarCollapsed());

    // Signing out leaves nothing of this account's chats for the next one to see.
    ASSERT_TRUE(QTest::qWaitFor([] { return ChatHistoryCache::shared().size() > 0; }, kWaitMs));
    shell->session().logout();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell->screen() == QLatin1String("signIn"); }, kWaitMs))
        << shell->screen().toStdString();
    EXPECT_EQ(ChatHistoryCache::shared().size(), 0);
}

TEST_F(AppWindowTest, SettingsOpenFromTheShortcutWithIdentityAndLaterSections)
{
    launch();
    signInWithDemoAccount();
    QQuickWindow* settings = openSettingsWindow();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->size(), QSize(880, 660));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(settings));
    screenshot(settings, "settings-appearance");

    settings->setProperty("current", QStringLiteral("profile"));
    QQuickItem* later = waitFor(settings, "laterText");
    ASSERT_NE(later, nullptr);
    EXPECT_TRUE(later->property("text").toString().contains(QStringLiteral("later version")));

    settings->setProperty("current", QStringLiteral("identity"));
    QQuickItem* name = waitFor(settings, "identityName");
    ASSERT_NE(shell->identity(), nullptr);
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !name->property("text").toString().isEmpty(); }, kWaitMs));
    EXPECT_FALSE(preferences->settingsAgentId().value_or(QString()).isEmpty());
    screenshot(settings, "settings-identity");
}

// The dialogs and popups the window makes only when first asked for open, each over the window.
TEST_F(AppWindowTest, DialogsMadeOnFirstUseOpen)
{
    launch();
    signInWithDemoAccount();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sidebarTitles().contains(QStringLiteral("Employees")); }, kWaitMs));
    waitForConversation();
    const auto opens = [&](const char* loader, const char* popup) {
        QObject* made = find(window, loader);
        if (!made || !QMetaObject::invokeMethod(made, "open"))
            return false;
        QObject* shown = window->findChild<QObject*>(QString::fromLatin1(popup));
        return shown && QTest::qWaitFor([&] { return shown->property("opened").toBool(); }, kWaitMs);
    };
    const auto close = [&](const char* popup) {
        QMetaObject::invokeMethod(window->findChild<QObject*>(QString::fromLatin1(popup)), "close");
    };

    ASSERT_TRUE(opens("newChatLoader", "newChatPopup"));
    screenshot(window, "new-chat-popup");
    close("newChatPopup");
    ASSERT_TRUE(opens("aboutLoader", "aboutDialog"));
    close("aboutDialog");

    // A row's delete question names the row.
    QQuickItem* agentRow = nullptr;
    for (QQuickItem* row : sidebarRowItems())
        if (row->property("editable").toBool())
            agentRow = row;
    ASSERT_NE(agentRow, nullptr);
    ASSERT_TRUE(QMetaObject::invokeMethod(agentRow, "askDelete"));
    // A list's rows have no object parent: the question is found from its row.
    QObject* question = agentRow->findChild<QObject*>(QStringLiteral("deleteConfirm"));
    ASSERT_NE(question, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return question->property("opened").toBool(); }, kWaitMs));
    EXPECT_EQ(question->property("title").toString(),
              QStringLiteral("Delete “") + agentRow->property("title").toString() + QStringLiteral("”?"));
    screenshot(window, "row-delete-question");
    const int rowsBefore = shell->sidebar()->rowCount();
    QMetaObject::invokeMethod(question, "reject");
    EXPECT_EQ(shell->sidebar()->rowCount(), rowsBefore);
}

TEST_F(AppWindowTest, SidebarRowsAnswerThePointer)
{
    launch();
    signInWithDemoAccount();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sidebarTitles().contains(QStringLiteral("Employees")); }, kWaitMs));
    waitForConversation();
    const auto rowWhere = [&](const std::function<bool(QQuickItem*)>& wanted) -> QQuickItem* {
        const QList<QQuickItem*> rows = sidebarRowItems();
        const auto found = std::find_if(rows.begin(), rows.end(), wanted);
        return found != rows.end() ? *found : nullptr;
    };
    const auto kind = [](QQuickItem* row) { return row->property("kind").toString(); };
    QQuickItem* team = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (team = rowWhere([&](QQuickItem* r) { return kind(r) == QLatin1String("team"); })); }, kWaitMs));
    QQuickItem* agent
        = rowWhere([](QQuickItem* r) { return r->property("editable").toBool() && !r->property("selected").toBool(); });
    ASSERT_NE(agent, nullptr);
    const QString agentId = agent->property("identity").toString();

    click(agent);
    EXPECT_EQ(shell->sidebar()->selectedId(), agentId);

    // The team's chevron folds the team and leaves the open chat as it was.
    const bool teamExpanded = team->property("expanded").toBool();
    click(findVisual(team, QStringLiteral("foldChevron")));
    EXPECT_NE(team->property("expanded").toBool(), teamExpanded);
    EXPECT_EQ(shell->sidebar()->selectedId(), agentId);

    // A section's header folds it from anywhere on the row.
    QQuickItem* section = rowWhere([&](QQuickItem* r) { return kind(r) == QLatin1String("section"); });
    ASSERT_NE(section, nullptr);
    const bool sectionExpanded = section->property("expanded").toBool();
    click(section);
    EXPECT_NE(section->property("expanded").toBool(), sectionExpanded);
    click(section);

    // A right click opens an editable row's menu.
    agent = rowWhere([&](QQuickItem* r) { return r->property("identity").toString() == agentId; });
    ASSERT_NE(agent, nullptr);
    const QPointF centre = agent->mapToScene(QPointF(agent->width() / 2, agent->height() / 2));
    QTest::mouseClick(window, Qt::RightButton, {}, centre.toPoint());
    QObject* menu = agent->findChild<QObject*>(QStringLiteral("rowMenu"));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return menu->property("opened").toBool(); }, kWaitMs));
    QMetaObject::invokeMethod(menu, "close");
}

TEST_F(AppWindowTest, UpdateBadgeShowsTheAdvertisedBuild)
{
    launch();
    signInWithDemoAccount();
    QQuickItem* badgeButton = waitFor(window, "updateBadge");
    ASSERT_NE(badgeButton, nullptr);
    EXPECT_TRUE(badge->availableVersionText().startsWith(QStringLiteral("0.7")));
    EXPECT_TRUE(badgeButton->property("text").toString().contains(QStringLiteral("0.7")));
}

} // namespace
