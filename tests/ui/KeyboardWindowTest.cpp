// The keyboard in the real window: find in the open chat, the shortcut overlay, next and
// previous chat, and the focus coming back to where it was when a sheet closes.
#include "AppWindowFixture.h"
#include "ui/chat/ChatSession.h"
#include "ui/controls/ShortcutCatalog.h"
#include "ui/create/CreateFlow.h"

#include "chat/viewmodel/ChatFindModel.h"
#include "chat/viewmodel/ChatViewModel.h"

using namespace halvex;
using namespace halvex::test;

namespace {

class KeyboardWindowTest : public AppWindowFixture {
protected:
    ChatSession* session() const { return shell->chatSession(); }

    QQuickItem* visual(const char* name) const { return findVisual(window->contentItem(), QString::fromLatin1(name)); }
    QQuickItem* focusComposer()
    {
        QQuickItem* input = visual("composerInput");
        if (input)
            input->forceActiveFocus();
        return input;
    }
    void typeText(const QString& text) const
    {
        for (QChar c : text)
            QTest::keyClick(window, c.toLatin1());
    }
    bool hasFocus(QQuickItem* item) const { return item && window->activeFocusItem() == item; }
    // A word of at least five letters from the history's user turns, to find.
    QString someWord() const
    {
        QAbstractListModel* rows = session()->rows();
        for (int i = 0; i < rows->rowCount(); ++i) {
            const QString text = rows->data(rows->index(i), ChatMessageRows::TextRole).toString();
            for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                if (word.size() >= 5 && std::all_of(word.cbegin(), word.cend(), [](QChar c) {
                        return c.isLetter() && c.unicode() < 128;
                    }))
                    return word;
        }
        return {};
    }
};

} // namespace

TEST_F(KeyboardWindowTest, FindStepsThroughTheChatAndEscapeGivesTheFocusBack)
{
    openResearcherChat();
    QQuickItem* input = focusComposer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return hasFocus(input); }, kWaitMs));

    QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
    QQuickItem* field = waitFor(window, "findField");
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return field->hasActiveFocus(); }, kWaitMs));

    const QString word = someWord();
    ASSERT_FALSE(word.isEmpty());
    typeText(word.toUpper());
    ChatFindModel* finder = session()->find();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finder->count() > 0; }, kWaitMs)) << word.toStdString();
    EXPECT_EQ(finder->current(), finder->count()) << "the newest match first";
    QQuickItem* count = find(window, "findCount");
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->property("text").toString(), QStringLiteral("%1 of %2").arg(finder->count()).arg(finder->count()));

    const int newest = finder->currentRow();
    QTest::keyClick(window, Qt::Key_Return);
    if (finder->count() > 1) {
        EXPECT_LT(finder->currentRow(), newest) << "Return goes to the older match";
    }
    QQuickItem* highlight = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (highlight = visual("findHighlight")) != nullptr; }, kWaitMs))
        << "the current match is outlined";
    EXPECT_TRUE(waitInView(highlight)) << "and scrolled into view";
    screenshot(window, "chat-find");

    typeText(QStringLiteral("zzqx"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return finder->count() == 0; }, kWaitMs));
    EXPECT_EQ(count->property("text").toString(), QStringLiteral("No matches"));

    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(find(window, "findBar")->isVisible());
    EXPECT_TRUE(finder->query().isEmpty());
    EXPECT_TRUE(hasFocus(input)) << "the focus is back in the composer";
    EXPECT_EQ(visual("findHighlight"), nullptr);
}

TEST_F(KeyboardWindowTest, TheOverlayListsEveryShortcutAndSheetsGiveTheFocusBack)
{
    openResearcherChat();
    QQuickItem* input = focusComposer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return hasFocus(input); }, kWaitMs));

    QTest::keyClick(window, Qt::Key_Slash, Qt::ControlModifier);
    QObject* overlay = window->findChild<QObject*>(QStringLiteral("shortcutOverlay"));
    ASSERT_NE(overlay, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return overlay->property("opened").toBool(); }, kWaitMs));
    int rows = 0;
    std::function<void(QQuickItem*)> count = [&](QQuickItem* item) {
        if (item->objectName() == QStringLiteral("shortcutRow") && item->isVisible())
            ++rows;
        for (QQuickItem* child : item->childItems())
            count(child);
    };
    count(window->contentItem()->parentItem() ? window->contentItem()->parentItem() : window->contentItem());
    EXPECT_EQ(rows, ShortcutCatalog::entries().size());
    screenshot(window, "shortcut-overlay");
    QTest::keyClick(window, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !overlay->property("visible").toBool(); }, kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return hasFocus(input); }, kWaitMs)) << "back in the composer";

    // A detail screen opened from the keyboard and closed with Esc.
    QTest::keyClick(window, Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return shell->createFlow()->isOpen() && find(window, "createScreen"); }, kWaitMs));
    QTest::keyClick(window, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shell->createFlow()->isOpen(); }, kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return hasFocus(visual("composerInput")); }, kWaitMs)) << "back in the composer";

    // Next and previous chat.
    const QString first = shell->sidebar()->selectedId();
    QTest::keyClick(window, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell->sidebar()->selectedId() != first; }, kWaitMs));
    QTest::keyClick(window, Qt::Key_Up, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shell->sidebar()->selectedId() == first; }, kWaitMs));

    // The keyboard's focus shows on a control that draws no ring of its own.
    QQuickItem* frame = nullptr;
    for (int tab = 0; tab < 40 && !frame; ++tab) {
        QTest::keyClick(window, Qt::Key_Tab);
        QQuickItem* focused = window->activeFocusItem();
        if (focused && focused->property("visualFocus").toBool() && !focused->property("drawsFocusRing").toBool())
            frame = focused;
    }
    ASSERT_NE(frame, nullptr) << "Tab reaches a plain control";
    screenshot(window, "focus-ring");
}
