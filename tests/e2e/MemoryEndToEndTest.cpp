// An employee's memory against the real local service: a preference told in a chat shows
// under "This agent" and is gone once forgotten; a fact taught, a link without a scheme and an
// imported text file land where they belong and come out again.
#include "SignedInTest.h"

#include "agents/service/AgentService.h"
#include "chat/viewmodel/ChatViewModel.h"
#include "memory/viewmodel/MemoryPanelModel.h"
#include "session/service/AuthService.h"
#include "session/viewmodel/SessionViewModel.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/ServiceProcess.h"
#include "support/TestClient.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

class MemoryEndToEndTest : public EmployeeTest {
protected:
    void tell(const QString& text)
    {
        ChatViewModel chat(ChatBackend::agent(employee), t->client, Clock::system(), std::nullopt, cache);
        runTask(chat.start());
        chat.setInput(text);
        runTask(chat.send());
        EXPECT_TRUE(processUntil([&] { return !chat.isThinking(); }));
        chat.stop();
    }

    static std::optional<MemoryEntryItem> entryContaining(const MemoryPanelModel& panel, const QString& cat,
                                                          const QString& text)
    {
        for (const MemoryGroup& g : panel.groups())
            for (const MemoryEntryItem& e : g.items)
                if (g.cat == cat && e.text.contains(text, Qt::CaseInsensitive))
                    return e;
        return std::nullopt;
    }
};

} // namespace

TEST_F(MemoryEndToEndTest, APreferenceToldInAChatShowsUnderThisAgentUntilItIsForgotten)
{
    tell(QStringLiteral("I prefer short answers with bullet points."));
    MemoryPanelModel panel(t->client, employee.id, employee.name);
    runTask(panel.load());
    ASSERT_TRUE(panel.isLoaded());
    EXPECT_FALSE(panel.error()) << panel.error()->toStdString();
    const std::optional<MemoryEntryItem> learned
        = entryContaining(panel, QStringLiteral("This agent"), QStringLiteral("short answers"));
    ASSERT_TRUE(learned) << "the preference was learned from the chat";
    EXPECT_EQ(learned->badge, QStringLiteral("Preference"));
    EXPECT_EQ(learned->icon, QStringLiteral(u"\U0001F5E3\uFE0F"));
    EXPECT_EQ(learned->scope, MemoryScope::agent());

    runTask(panel.forgetFact(*learned));
    EXPECT_FALSE(panel.error()) << panel.error()->toStdString();
    EXPECT_FALSE(panel.isMemBusy());
    MemoryPanelModel reopened(t->client, employee.id, employee.name);
    runTask(reopened.load());
    EXPECT_FALSE(entryContaining(reopened, QStringLiteral("This agent"), QStringLiteral("short answers")));
    const JSONObject record = runTask(AgentService(t->client).rawDetail(employee.id));
    EXPECT_FALSE(record.value(QStringLiteral("user_metadata_md")).toString().contains(QStringLiteral("short answers")));
}

TEST_F(MemoryEndToEndTest, AFactALinkAndATextFileAreKeptAndTakenOutAgain)
{
    MemoryPanelModel panel(t->client, employee.id, employee.name);
    runTask(panel.load());
    panel.memInput = QStringLiteral("Invoices go to finance@example.com");
    runTask(panel.addMemory());
    const std::optional<MemoryEntryItem> taught
        = entryContaining(panel, QStringLiteral("You taught"), QStringLiteral("finance@example.com"));
    ASSERT_TRUE(taught) << panel.error().value_or(QString()).toStdString();

    panel.kbLink = QStringLiteral("docs.example.com/pricing");
    runTask(panel.addKbLink());
    EXPECT_FALSE(panel.error()) << panel.error()->toStdString();
    const JSONArray links = panel.agentDetail().value(QStringLiteral("knowledge_urls")).toArray();
    ASSERT_FALSE(links.isEmpty());
    EXPECT_EQ(links.last(), JSONValue(QStringLiteral("https://docs.example.com/pricing")));

    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("tone.md")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("# Tone\nWarm and brief.");
    file.close();
    runTask(panel.importFiles({QUrl::fromLocalFile(file.fileName())}));
    EXPECT_TRUE(panel.importReports().isEmpty());
    const QList<KBRow> notes
        = MemoryBuilders::filteredRows(panel.kbRows(), QStringLiteral("tone.md"), KBRow::RowType::note);
    ASSERT_EQ(notes.size(), 1) << panel.error().value_or(QString()).toStdString();

    runTask(panel.removeKbRow(notes[0]));
    const QList<KBRow> linkRows
        = MemoryBuilders::filteredRows(panel.kbRows(), QStringLiteral("pricing"), KBRow::RowType::link);
    ASSERT_EQ(linkRows.size(), 1);
    runTask(panel.removeKbRow(linkRows[0]));
    runTask(panel.forgetFact(*taught));
    EXPECT_FALSE(panel.error()) << panel.error()->toStdString();
    EXPECT_TRUE(
        MemoryBuilders::filteredRows(panel.kbRows(), QStringLiteral("pricing"), KBRow::RowType::link).isEmpty());
    EXPECT_FALSE(entryContaining(panel, QStringLiteral("You taught"), QStringLiteral("finance@example.com")));
    EXPECT_TRUE(MemoryBuilders::filteredRows(panel.kbRows(), QStringLiteral("tone.md"), std::nullopt).isEmpty());
}
