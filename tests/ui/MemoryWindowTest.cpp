// An employee's memory in the real window against the local service: a preference told in the
// chat shows in the panel opened from the chat's header; each tab is photographed, a fact is
// forgotten with its button, and Escape closes the sheet.
#include "AppWindowFixture.h"
#include "ui/chat/ChatSession.h"
#include "ui/memory/MemoryPanel.h"

#include "chat/viewmodel/ChatViewModel.h"

using namespace halvex;
using namespace halvex::test;

namespace {

class MemoryWindowTest : public AppWindowFixture {
protected:
    ChatViewModel* chat() const { return shell->chatSession()->chat(); }

    void tellTheResearcher(const QString& text)
    {
        launch();
        signInWithDemoAccount();
        ASSERT_TRUE(QTest::qWaitFor([&] { return shell->sidebar()->rowCount() > 2; }, kWaitMs));
        shell->sidebar()->select(QStringLiteral("a-researcher"));
        waitForConversation();
        ASSERT_TRUE(QTest::qWaitFor([&] { return chat() && chat()->historyLoaded(); }, kWaitMs));
        chat()->setInput(text);
        QQuickItem* input = findVisual(window->contentItem(), QStringLiteral("composerInput"));
        ASSERT_NE(input, nullptr);
        input->forceActiveFocus();
        QTest::keyClick(window, Qt::Key_Return);
        // The service learns from the message as it stores it; the answer comes after that.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                const QList<ChatMessage>& messages = chat()->messages();
                const auto told = std::find_if(messages.cbegin(), messages.cend(),
                                               [&](const ChatMessage& m) { return m.isUser() && m.content == text; });
                return !chat()->isThinking() && told != messages.cend()
                    && std::any_of(told, messages.cend(), [](const ChatMessage& m) { return m.isAssistant(); });
            },
            kWaitMs));
    }

    // The id of the entry whose text contains `text`; empty when there is none.
    QString entryId(const QString& text) const
    {
        for (const QVariant& g : shell->memory()->groups())
            for (const QVariant& e : g.toMap().value(QStringLiteral("items")).toList())
                if (e.toMap().value(QStringLiteral("text")).toString().contains(text))
                    return e.toMap().value(QStringLiteral("id")).toString();
        return {};
    }
};

} // namespace

TEST_F(MemoryWindowTest, ThePanelOpensFromTheChatHeaderAndShowsWhatTheEmployeeLearned)
{
    tellTheResearcher(QStringLiteral("I prefer short answers with bullet points."));
    QQuickItem* button = waitFor(window, "memoryButton");
    ASSERT_NE(button, nullptr) << "an employee's chat offers its memory";
    ASSERT_TRUE(clickInView(button));
    MemoryPanel* memory = shell->memory();
    ASSERT_TRUE(QTest::qWaitFor([&] { return memory->isOpen() && memory->loaded() && !memory->loading(); }, kWaitMs));
    EXPECT_TRUE(memory->error().isEmpty()) << memory->error().toStdString();
    ASSERT_NE(waitFor(window, "memoryPanelView"), nullptr);

    const QString learned = entryId(QStringLiteral("short answers"));
    ASSERT_FALSE(learned.isEmpty()) << "the preference told in the chat is remembered";
    QQuickItem* entry = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (entry = findVisual(window->contentItem(), QStringLiteral("memoryEntry-") + learned)); },
        kWaitMs));
    screenshot(window, "memory-memories");

    memory->setTab(0);
    ASSERT_NE(waitFor(window, "memoryRows"), nullptr);
    screenshot(window, "memory-knowledge");
    memory->setKbFilter(QStringLiteral("link"));
    screenshot(window, "memory-knowledge-links");
    memory->setKbFilter(QString());
    memory->setTab(2);
    ASSERT_NE(waitFor(window, "memoryGraph"), nullptr);
    screenshot(window, "memory-graph");

    memory->setTab(1);
    QQuickItem* forget = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (forget = findVisual(window->contentItem(), QStringLiteral("memoryForget-") + learned)); },
        kWaitMs));
    ASSERT_TRUE(clickInView(forget));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !memory->memBusy() && !memory->loading() && entryId(QStringLiteral("short answers")).isEmpty(); },
        kWaitMs))
        << memory->error().toStdString();
    screenshot(window, "memory-forgotten");

    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !memory->isOpen(); }, kWaitMs)) << "Escape closes the sheet";
}
