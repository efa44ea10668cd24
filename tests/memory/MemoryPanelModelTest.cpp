// The memory panel against a scripted service: the six parts of a load each keep what arrived,
// facts are added and forgotten where they live, links are normalised, text files are imported
// with their reports, knowledge rows are removed, and a closed panel drops late answers.
#include "memory/viewmodel/MemoryPanelModel.h"
#include "support/FakeServer.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

const QString agentPath = QStringLiteral("/api/v2/custom-agents/a1");
const QString notesPath = QStringLiteral("/api/v2/notes");
const QString profilePath = QStringLiteral("/api/v2/custom-agents/a1/memory-profile");
const QString filesPath = QStringLiteral("/api/v2/custom-agents/a1/files");

const QByteArray threeFacts
    = R"({"id":"a1","name":"Ava","user_metadata_md":"### Preference\nPrefers short answers.\n\n---\n### Budget\nBudget is 5k.\n\n---\nLikes tea",)"
      R"("knowledge_urls":["https://docs.example.com/a"],"knowledge_base":"We sell chairs."})";

class MemoryPanelModelTest : public ::testing::Test {
protected:
    FakeServer server;
    std::unique_ptr<TestClient> t = makeTestClient(server);
    MemoryPanelModel panel{t->client, QStringLiteral("a1"), QString()};
    QTemporaryDir dir;

    void SetUp() override
    {
        serve(threeFacts);
        server.on(
            "GET", notesPath,
            FakeResponse::json(
                R"({"notes":[{"id":"mn-1","title":"","body":"Use metric units","created_at":"2024-12-04T12:00:00Z"}]})"));
        server.on("GET", QStringLiteral("/api/v2/tables"),
                  FakeResponse::json(R"({"tables":[{"id":"t1","name":"Leads","columns":[{"name":"a"}]}]})"));
        server.on("GET", filesPath,
                  FakeResponse::json(
                      R"({"files":[{"url":"http://h/api/v2/chat-files/k1","name":"brief.pdf","kind":"document"}]})"));
        server.on("GET", QStringLiteral("/api/v2/custom-agents/a1/skills"),
                  FakeResponse::json(R"({"skills":[{"skill_id":"s1","name":"Pricing","source":"attached"}]})"));
        server.on("GET", profilePath,
                  FakeResponse::json(R"({"workspace_kind":"agent","worker_user_facts":"Works mornings"})"));
        server.on("GET", QStringLiteral("/api/v2/custom-agents/a1/goals"), FakeResponse::json(R"({"goals":[]})"));
    }

    void serve(const QByteArray& agent) { server.on("GET", agentPath, FakeResponse::json(agent)); }

    void load()
    {
        runTask(panel.load());
        ASSERT_TRUE(panel.isLoaded());
        ASSERT_FALSE(panel.isLoading());
    }

    QUrl file(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return QUrl::fromLocalFile(f.fileName());
    }

    const MemoryEntryItem& entry(const char* id)
    {
        static MemoryEntryItem found;
        for (const MemoryGroup& g : panel.groups())
            for (const MemoryEntryItem& e : g.items)
                if (e.id == QLatin1String(id))
                    return found = e;
        ADD_FAILURE() << "no entry " << id;
        return found;
    }
};

} // namespace

TEST_F(MemoryPanelModelTest, ALoadReadsSixPartsTogetherAndAFailedPartLeavesTheOthers)
{
    server.on("GET", QStringLiteral("/api/v2/tables"), FakeResponse::json(500, R"({"error":"Tables are down"})"));
    load();
    EXPECT_EQ(panel.error(), QStringLiteral("Tables are down"));
    EXPECT_TRUE(panel.tables().isEmpty());
    EXPECT_EQ(panel.notes().size(), 1);
    EXPECT_EQ(panel.files().size(), 1);
    EXPECT_EQ(panel.skills().size(), 1);
    EXPECT_EQ(panel.agentName(), QStringLiteral("Ava")) << "the record names the employee";
    const QList<MemoryGroup> groups = panel.groups();
    ASSERT_EQ(groups.size(), 3);
    EXPECT_EQ(groups[0].items.size(), 3);
    EXPECT_EQ(groups[1].cat, QStringLiteral("Workspace memory"));
    EXPECT_EQ(groups[2].cat, QStringLiteral("You taught"));

    for (const RecordedRequest& r : server.requests()) {
        if (r.path == notesPath || r.path == u"/api/v2/tables") {
            EXPECT_EQ(r.query,
                      (QList<QPair<QString, QString>>{{QStringLiteral("agent_id"), QStringLiteral("a1")},
                                                      {QStringLiteral("workspace_scope"), QStringLiteral("agent")}}));
        }
    }
    const QMap<KBRow::RowType, int> stats = panel.kbStats();
    EXPECT_EQ(stats.value(KBRow::RowType::link), 1);
    EXPECT_EQ(stats.value(KBRow::RowType::doc), 3) << "written knowledge, a file and the workspace's facts";
    EXPECT_EQ(stats.value(KBRow::RowType::table), 0);
    panel.kbFilter = KBRow::RowType::doc;
    panel.kbSearch = QStringLiteral("brief");
    ASSERT_EQ(panel.visibleKbRows().size(), 1);
    EXPECT_EQ(panel.visibleKbRows()[0].name, QStringLiteral("brief.pdf"));

    server.on("GET", agentPath, FakeResponse::json(500, R"({"error":"Nope"})"));
    server.on("GET", notesPath, FakeResponse::json(R"({"notes":[]})"));
    server.on("GET", profilePath, FakeResponse::json(R"({})"));
    load();
    EXPECT_TRUE(panel.groups().isEmpty());
    EXPECT_EQ(panel.emptyText(),
              QStringLiteral("Ava hasn’t learned anything about you yet — it fills up as you chat and it works."));
    EXPECT_EQ(
        MemoryPanelModel(t->client, QStringLiteral("a2"), QString()).emptyText(),
        QStringLiteral("Your employee hasn’t learned anything about you yet — it fills up as you chat and it works."));
}

TEST_F(MemoryPanelModelTest, AFactIsSavedAsANoteAndForgottenWhereItLives)
{
    load();
    server.on("POST", notesPath, FakeResponse::json(201, R"({"ok":true,"note":{"id":"mn-2","body":"x"}})"));
    panel.memInput = QStringLiteral("  Invoices go to finance@example.com  ");
    runTask(panel.addMemory());
    const RecordedRequest posted = server.requests()[server.requests().size() - 8];
    ASSERT_EQ(posted.method, QByteArray("POST")) << "then the six parts and the goals are read again";
    EXPECT_EQ(posted.jsonObject(),
              (JSONObject{{QStringLiteral("body"), QStringLiteral("Invoices go to finance@example.com")},
                          {QStringLiteral("agent_id"), QStringLiteral("a1")},
                          {QStringLiteral("workspace_scope"), QStringLiteral("agent")}}));
    EXPECT_TRUE(panel.memInput.isEmpty());
    EXPECT_FALSE(panel.isMemBusy());

    server.on("POST", notesPath, FakeResponse::json(500, R"({"error":"Full"})"));
    panel.memInput = QStringLiteral("Another fact");
    runTask(panel.addMemory());
    EXPECT_EQ(panel.error(), QStringLiteral("Could not save the fact"));
    EXPECT_EQ(panel.memInput, QStringLiteral("Another fact")) << "the text stays to try again";
    EXPECT_FALSE(panel.isMemBusy());

    server.on("PATCH", agentPath, FakeResponse::json(R"({"id":"a1"})"));
    runTask(panel.forgetFact(entry("agent-1")));
    const RecordedRequest patched = server.requests()[server.requests().size() - 8];
    EXPECT_EQ(patched.jsonObject(),
              (JSONObject{{QStringLiteral("user_metadata_md"),
                           QStringLiteral("### Preference\nPrefers short answers.\n\n---\nLikes tea")}}));
    EXPECT_FALSE(panel.error());

    server.on("PATCH", profilePath, FakeResponse::json(500, R"({"error":"worker_user_facts is too long"})"));
    runTask(panel.forgetFact(entry("shared-0")));
    EXPECT_EQ(server.last().jsonObject(),
              (JSONObject{{QStringLiteral("worker_user_facts"), QString()},
                          {QStringLiteral("workspace_scope"), QStringLiteral("agent")}}));
    EXPECT_EQ(panel.error(), QStringLiteral("worker_user_facts is too long")) << "the service's own words win";
    server.on("PATCH", agentPath, FakeResponse::drop());
    runTask(panel.forgetFact(entry("agent-0")));
    EXPECT_EQ(panel.error(), QStringLiteral("Could not forget fact"));
    EXPECT_FALSE(panel.isMemBusy());

    server.on("DELETE", QStringLiteral("/api/v2/notes/mn-1"), FakeResponse::json(404, R"({"error":"Note not found"})"));
    runTask(panel.forgetFact(entry("note-mn-1")));
    EXPECT_EQ(server.last().query,
              (QList<QPair<QString, QString>>{{QStringLiteral("agent_id"), QStringLiteral("a1")},
                                              {QStringLiteral("workspace_scope"), QStringLiteral("agent")}}));
    EXPECT_EQ(panel.error(), QStringLiteral("Could not forget the note"));
}

TEST_F(MemoryPanelModelTest, LinksGetASchemeAndKnowledgeRowsAreRemovedByKind)
{
    load();
    server.on("PATCH", agentPath, FakeResponse::json(R"({"id":"a1"})"));
    panel.kbLink = QStringLiteral(" help.example.org/faq ");
    runTask(panel.addKbLink());
    const RecordedRequest added = server.requests()[server.requests().size() - 8];
    EXPECT_EQ(added.jsonObject().value(QStringLiteral("knowledge_urls")),
              JSONValue(JSONArray{QStringLiteral("https://docs.example.com/a"),
                                  QStringLiteral("https://help.example.org/faq")}));
    EXPECT_TRUE(panel.kbLink.isEmpty());
    EXPECT_FALSE(panel.isKbBusy());

    const int before = int(server.requests().size());
    panel.kbLink = QStringLiteral("not a link");
    runTask(panel.addKbLink());
    EXPECT_EQ(panel.error(),
              QStringLiteral("That doesn't look like a link — paste a full address, e.g. "
                             "https://docs.example.com/getting-started."));
    EXPECT_EQ(server.requests().size(), before) << "nothing was sent";

    QList<KBRow> rows = panel.kbRows();
    runTask(panel.removeKbRow(rows[0]));
    EXPECT_EQ(server.requests()[before].jsonObject().value(QStringLiteral("knowledge_urls")), JSONValue(JSONArray{}));
    runTask(panel.removeKbRow(rows[1]));
    EXPECT_EQ(server.requests()[before + 8].jsonObject(), (JSONObject{{QStringLiteral("knowledge_base"), QString()}}));

    server.on("DELETE", filesPath, FakeResponse::json(500, R"({"error":"x"})"));
    const KBRow fileRow = panel.kbRows()[4];
    ASSERT_EQ(fileRow.id, QStringLiteral("file-0"));
    runTask(panel.removeKbRow(fileRow));
    EXPECT_EQ(server.last().query.value(0).second, QStringLiteral("http://h/api/v2/chat-files/k1"));
    EXPECT_EQ(panel.error(), QStringLiteral("Could not remove the file"));
    server.on("PATCH", agentPath, FakeResponse::json(500, R"({"error":"x"})"));
    runTask(panel.removeKbRow(panel.kbRows()[0]));
    EXPECT_EQ(panel.error(), QStringLiteral("Could not remove the source"));
    panel.kbLink = QStringLiteral("https://x.example.com");
    runTask(panel.addKbLink());
    EXPECT_EQ(panel.error(), QStringLiteral("Could not add the source"));
    EXPECT_FALSE(panel.isKbBusy());
}

TEST_F(MemoryPanelModelTest, OnlyTextFilesAreImportedAndTheSkippedOnesAreReportedTogether)
{
    load();
    QList<QByteArray> bodies;
    server.on("POST", notesPath, [&](const RecordedRequest& r) {
        bodies << r.body;
        return FakeResponse::json(201, R"({"ok":true,"note":{"id":"mn-9","body":"x"}})");
    });
    const QList<QUrl> picked{file(QStringLiteral("huge.txt"), QByteArray(150000, 'a')),
                             file(QStringLiteral("scan.pdf"), QByteArray("%PDF-1.4")),
                             file(QStringLiteral("blank.MD"), QByteArray(" \n\t\n")),
                             file(QStringLiteral("Brand voice.markdown"), QByteArray("# Voice\nWarm, never pushy."))};
    runTask(panel.importFiles(picked));
    EXPECT_EQ(panel.importReports(),
              (QStringList{QStringLiteral("huge.txt: too long (150000 chars, limit 100000)"),
                           QStringLiteral("blank.MD: file is empty")}))
        << "the pdf is ignored without a word";
    ASSERT_EQ(bodies.size(), 1);
    const JSONObject note = JSONValue::parse(bodies[0]).toObject();
    EXPECT_EQ(note.value(QStringLiteral("title")), JSONValue(QStringLiteral("Brand voice.markdown")));
    EXPECT_EQ(note.value(QStringLiteral("body")), JSONValue(QStringLiteral("# Voice\nWarm, never pushy.")));
    EXPECT_FALSE(panel.isKbBusy());

    server.on("POST", notesPath, FakeResponse::json(400, R"({"error":"too many"})"));
    runTask(panel.importFiles({file(QStringLiteral("ok.txt"), QByteArray("fine"))}));
    EXPECT_TRUE(panel.importReports().isEmpty());
    EXPECT_EQ(panel.error(), QStringLiteral("Could not import the files"));
    EXPECT_FALSE(panel.isKbBusy());
}

TEST_F(MemoryPanelModelTest, AClosedPanelDropsLateAnswersAndClearsItsBusyFlags)
{
    server.on("GET", agentPath, FakeResponse::held(FakeResponse::json(threeFacts)));
    QCoro::Task<void> loading = panel.load();
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    EXPECT_TRUE(panel.isLoading());
    panel.stop();
    server.releaseHeld();
    runTask(std::move(loading));
    EXPECT_FALSE(panel.isLoaded()) << "the late answer was dropped";
    EXPECT_FALSE(panel.isLoading());

    serve(threeFacts);
    load();
    server.on("POST", notesPath, FakeResponse::held(FakeResponse::json(201, R"({"note":{"id":"n","body":"b"}})")));
    panel.memInput = QStringLiteral("Closing soon");
    QCoro::Task<void> adding = panel.addMemory();
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    EXPECT_TRUE(panel.isMemBusy());
    panel.stop();
    EXPECT_FALSE(panel.isMemBusy());
    server.releaseHeld();
    runTask(std::move(adding));
    EXPECT_EQ(panel.memInput, QStringLiteral("Closing soon")) << "nothing after the close was applied";
    EXPECT_FALSE(panel.error());
}
