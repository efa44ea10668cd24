// The team menu in the real window against the local service: opened from a team chat's header,
// it shows the seeded roster and settings, saves a hand-off depth typed with the keyboard, and
// a fresh menu of the same team reads the saved depth back from the service; a member is hired
// from a brief, renamed, given a model of its own and removed.
#include "AppWindowFixture.h"
#include "ui/chat/ChatSession.h"
#include "ui/teams/TeamMenu.h"

#include <QPointer>
#include <QQuickWindow>

using namespace halvex;
using namespace halvex::test;

namespace {

class TeamMenuWindowTest : public AppWindowFixture {
protected:
    TeamMenu* menu() const { return shell->chatSession()->teamMenu(); }

    void openTeamChat()
    {
        shell->sidebar()->select(QStringLiteral("team:growth"));
        waitForConversation();
        ASSERT_TRUE(QTest::qWaitFor([&] { return shell->chatSession()->chat() && menu(); }, kWaitMs));
    }

    // The menu popup, opened from the header and loaded.
    QQuickItem* openMenu()
    {
        QQuickItem* button = nullptr;
        if (!QTest::qWaitFor(
                [&] { return (button = findVisual(window->contentItem(), QStringLiteral("teamMenuButton"))); },
                kWaitMs))
            return nullptr;
        if (!clickInView(button))
            return nullptr;
        QQuickItem* depth = nullptr;
        const bool shown = QTest::qWaitFor(
            [&] {
                depth = findVisual(window->contentItem(), QStringLiteral("teamHandoffDepth"));
                return depth && menu()->loaded() && findVisual(window->contentItem(), QStringLiteral("teamMember"));
            },
            kWaitMs);
        return shown ? depth : nullptr;
    }

    // The visible roster row that shows the name of the member with this agent id.
    QQuickItem* memberRow(const QString& agentId) const
    {
        QString name;
        for (const QVariant& m : menu()->roster())
            if (m.toMap().value(QStringLiteral("id")).toString() == agentId)
                name = m.toMap().value(QStringLiteral("name")).toString();
        QList<QQuickItem*> pending{window->contentItem()};
        while (!name.isEmpty() && !pending.isEmpty()) {
            QQuickItem* item = pending.takeFirst();
            if (item->objectName() == QLatin1String("teamMember") && item->isVisible())
                for (QQuickItem* label : item->findChildren<QQuickItem*>())
                    if (label->property("text").toString() == name)
                        return item;
            pending.append(item->childItems());
        }
        return nullptr;
    }
};

TEST_F(TeamMenuWindowTest, SavesAHandoffDepthThatAFreshMenuReadsBack)
{
    launch();
    signInWithDemoAccount();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell->sidebar()->rowCount() > 2; }, kWaitMs));
    openTeamChat();
    EXPECT_EQ(findVisual(window->contentItem(), QStringLiteral("loopButton")), nullptr)
        << "a team's loop lives in its menu";

    QQuickItem* depth = openMenu();
    ASSERT_NE(depth, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return depth->property("value").toInt() == 2; }, kWaitMs)) << "the seeded depth";
    const QVariantList roster = menu()->roster();
    ASSERT_GE(roster.size(), 2);
    int reviewers = 0;
    for (const QVariant& member : roster)
        reviewers += member.toMap().value(QStringLiteral("reviewer")).toBool();
    EXPECT_EQ(reviewers, 1) << "the seeded reviewer is marked once";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !menu()->usageTotalText().isEmpty(); }, kWaitMs))
        << "usage loads on opening";

    theme->setMode(QStringLiteral("light"));
    screenshot(window, "team-menu-light");
    theme->setMode(QStringLiteral("gray"));
    screenshot(window, "team-menu-dark");
    theme->setMode(QStringLiteral("light"));

    // Keyboard: the spin box steps up, the save button sends.
    depth->forceActiveFocus();
    QTest::keyClick(window, Qt::Key_Up);
    QTest::keyClick(window, Qt::Key_Up);
    EXPECT_EQ(depth->property("value").toInt(), 4);
    ASSERT_TRUE(clickInView(findVisual(window->contentItem(), QStringLiteral("teamHandoffSave"))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu()->notice() == QStringLiteral("Handoff depth saved"); }, kWaitMs))
        << menu()->error().toStdString();
    ASSERT_TRUE(clickInView(findVisual(window->contentItem(), QStringLiteral("teamMenuClose"))));

    // Another chat and back: a new menu loads the team from the service.
    shell->sidebar()->select(QStringLiteral("a-researcher"));
    waitForConversation();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu() == nullptr; }, kWaitMs));
    openTeamChat();
    depth = openMenu();
    ASSERT_NE(depth, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return depth->property("value").toInt() == 4; }, kWaitMs))
        << depth->property("value").toInt();
    EXPECT_TRUE(menu()->error().isEmpty()) << menu()->error().toStdString();
}

TEST_F(TeamMenuWindowTest, HiresRenamesChangesTheModelOfAndRemovesAMember)
{
    launch();
    signInWithDemoAccount();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell->sidebar()->rowCount() > 2; }, kWaitMs));
    openTeamChat();
    ASSERT_NE(openMenu(), nullptr);
    QStringList before;
    for (const QVariant& m : menu()->roster())
        before << m.toMap().value(QStringLiteral("id")).toString();

    QQuickItem* brief = findVisual(window->contentItem(), QStringLiteral("hireBrief"));
    ASSERT_TRUE(clickInView(brief));
    brief->setProperty("text", QStringLiteral("A researcher who checks facts"));
    ASSERT_TRUE(clickInView(findVisual(window->contentItem(), QStringLiteral("hireMember"))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu()->notice().endsWith(QStringLiteral(" joined the team")); }, kWaitMs))
        << menu()->error().toStdString() << menu()->hiringError().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu()->roster().size() == before.size() + 1; }, kWaitMs));
    QString hired;
    for (const QVariant& m : menu()->roster())
        if (!before.contains(m.toMap().value(QStringLiteral("id")).toString()))
            hired = m.toMap().value(QStringLiteral("id")).toString();
    ASSERT_FALSE(hired.isEmpty());

    // Renamed in place: the new handle is typed over the old one and saved with Enter.
    QQuickItem* row = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (row = memberRow(hired)); }, kWaitMs));
    ASSERT_TRUE(clickInView(findVisual(row, QStringLiteral("memberRename"))));
    QQuickItem* handle = findVisual(row, QStringLiteral("memberHandleField"));
    ASSERT_NE(handle, nullptr);
    handle->setProperty("text", QStringLiteral("checker"));
    QTest::keyClick(window, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu()->notice().endsWith(QStringLiteral(" to @checker")); }, kWaitMs))
        << menu()->error().toStdString();

    // Its own model, chosen from the list, then back to the team's.
    ASSERT_TRUE(QTest::qWaitFor([&] { return (row = memberRow(hired)); }, kWaitMs));
    QPointer<QQuickItem> model = findVisual(row, QStringLiteral("memberModel"));
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->property("currentIndex").toInt(), 0) << "a new member runs the team's model";
    QMetaObject::invokeMethod(model, "activated", Q_ARG(int, 1));
    const QString chosen = TeamMenu::modelChoices().value(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu()->notice() == QStringLiteral("Member model: ") + chosen; }, kWaitMs))
        << menu()->notice().toStdString() << menu()->error().toStdString();
    EXPECT_EQ(menu()->modelChoiceOf(hired), 1);
    // The row was refreshed in place, not made anew (a rename being typed would survive).
    ASSERT_FALSE(model.isNull());
    EXPECT_EQ(model->property("currentIndex").toInt(), 1) << "the row shows the saved choice";
    QMetaObject::invokeMethod(model, "activated", Q_ARG(int, 0));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return menu()->notice() == QStringLiteral("Member inherits team model"); }, kWaitMs));

    ASSERT_TRUE(QTest::qWaitFor([&] { return (row = memberRow(hired)); }, kWaitMs));
    ASSERT_TRUE(clickInView(findVisual(row, QStringLiteral("memberRemove"))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu()->notice() == QStringLiteral("Member removed"); }, kWaitMs))
        << menu()->error().toStdString();
    EXPECT_EQ(menu()->roster().size(), before.size());
}

} // namespace
