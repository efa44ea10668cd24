// Reading memory text and building the panel's lists: entries out of a fact blob, their bodies,
// categories and icons, the groups in their order, the knowledge rows and the graph's layout.
#include "memory/model/MemoryParse.h"
#include "memory/model/MemoryBuilders.h"
#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

using namespace halvex;

namespace {

const QString banknote = QStringLiteral(u"\U0001F4B6");
const QString speakingHead = QStringLiteral(u"\U0001F5E3\uFE0F");
const QString brain = QStringLiteral(u"\U0001F9E0");

JSONObject agentWith(const QString& facts)
{
    return {{QStringLiteral("name"), QStringLiteral("Ava")}, {QStringLiteral("user_metadata_md"), facts}};
}

} // namespace

TEST(MemoryParseTest, ABlobOfThreeEntriesGivesThreeAgentEntriesInOrder)
{
    const QString blob = QStringLiteral("### Preference\nPrefers short answers.\n\n---\n  Budget: 5k a month  \n\n---\n"
                                        "\n\n---\nWe sell to dentists (inferred)\n");
    EXPECT_EQ(MemoryParse::parseBlob(blob).size(), 3) << "an empty piece is no entry";
    EXPECT_TRUE(MemoryParse::parseBlob(std::nullopt).isEmpty());

    const QList<MemoryGroup> groups = MemoryBuilders::memoryGroups(agentWith(blob), {}, {});
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups[0].cat, QStringLiteral("This agent"));
    ASSERT_EQ(groups[0].items.size(), 3);
    const MemoryEntryItem& first = groups[0].items[0];
    EXPECT_EQ(first.id, QStringLiteral("agent-0"));
    EXPECT_EQ(groups[0].items[1].id, QStringLiteral("agent-1"));
    EXPECT_EQ(groups[0].items[2].id, QStringLiteral("agent-2"));
    EXPECT_EQ(first.badge, QStringLiteral("Preference"));
    EXPECT_EQ(first.icon, speakingHead);
    EXPECT_EQ(first.text, QStringLiteral("Prefers short answers."));
    EXPECT_EQ(first.scopeLabel, QStringLiteral("This agent"));
    EXPECT_EQ(first.when, QStringLiteral("learned by this agent as it works for you"));
    EXPECT_EQ(first.scope, MemoryScope::agent());
    EXPECT_EQ(groups[0].items[1].badge, QStringLiteral("Budget"));
    EXPECT_EQ(groups[0].items[1].raw, QStringLiteral("Budget: 5k a month"));
    EXPECT_EQ(groups[0].items[2].text, QStringLiteral("We sell to dentists")) << "confidence marks go";
    EXPECT_EQ(groups[0].items[2].badge, QStringLiteral("Fact"));
}

TEST(MemoryParseTest, BodiesDropDateStampsAndHeadingsButNeverEverything)
{
    EXPECT_EQ(MemoryParse::bodyOf(QStringLiteral("2024-05-01T10:00:00Z\n### Tone\nFriendly (OBSERVED), never stiff")),
              QStringLiteral("Friendly , never stiff"));
    const QString onlyStamps = QStringLiteral("2024-05-01 10:00\n## Customers");
    EXPECT_EQ(MemoryParse::bodyOf(onlyStamps), onlyStamps) << "a date and a heading alone keep the whole entry";
    EXPECT_EQ(MemoryParse::bodyOf(QStringLiteral("### A\n\nline one\n\n\n\nline two")),
              QStringLiteral("line one\n\nline two"));
    EXPECT_EQ(MemoryParse::bodyOf(QStringLiteral("2024-05-01\nkept: the stamp has no time")),
              QStringLiteral("2024-05-01\nkept: the stamp has no time"));
}

TEST(MemoryParseTest, IconsFollowTheTableInOrderAndCategoriesComeFromHeadingsOrLabels)
{
    EXPECT_EQ(MemoryParse::iconFor(QStringLiteral("Our customer has a budget of 5k")), banknote)
        << "the price pattern is tested before the person pattern";
    EXPECT_EQ(MemoryParse::iconFor(QStringLiteral("Focus on Q3 launch")), QStringLiteral(u"\U0001F3AF"));
    EXPECT_EQ(MemoryParse::iconFor(QStringLiteral("Contact: jo@example.com")), QStringLiteral(u"\U0001F464"));
    EXPECT_EQ(MemoryParse::iconFor(QStringLiteral("A/B test of subject lines")), QStringLiteral(u"\U0001F4C8"));
    EXPECT_EQ(MemoryParse::iconFor(QStringLiteral("We are in the dental industry")), QStringLiteral(u"\U0001F3E2"));
    EXPECT_EQ(MemoryParse::iconFor(QStringLiteral("Works weekends")), QStringLiteral(u"\U0001F4C8"));
    EXPECT_EQ(MemoryParse::iconFor(QStringLiteral("Only mornings")), QStringLiteral(u"\U0001F552"));
    EXPECT_EQ(MemoryParse::iconFor(QStringLiteral("Likes dogs")), brain);

    const QList<MemoryGroup> groups = MemoryBuilders::memoryGroups(
        agentWith(QStringLiteral("Main customer: dentists with a budget for software")), {}, {});
    EXPECT_EQ(groups[0].items[0].icon, banknote);
    EXPECT_EQ(groups[0].items[0].badge, QStringLiteral("Main Customer"));

    EXPECT_EQ(MemoryParse::categoryOf(QStringLiteral("intro\n#### target market:\nx")),
              QStringLiteral("Target Market"));
    EXPECT_EQ(MemoryParse::categoryOf(QStringLiteral("https: //example.com\nsee the site")), QStringLiteral("Fact"));
    EXPECT_EQ(MemoryParse::categoryOf(QStringLiteral("http://x.com: a link")), QStringLiteral("Fact"));
    EXPECT_EQ(MemoryParse::categoryOf(QStringLiteral("# ") + QString(60, QLatin1Char('a'))), QStringLiteral("Fact"))
        << "a heading longer than 48 characters is no category";
}

TEST(MemoryParseTest, GroupsComeInOrderWithTheirScopesAndNotesShowWhenTheyWereAdded)
{
    const JSONObject team{{QStringLiteral("workspace_kind"), QStringLiteral("team")},
                          {QStringLiteral("worker_user_facts"), QStringLiteral("### Budget\nBudget is 5k.")}};
    const QList<MemoryNoteItem> notes{{QStringLiteral("mn-1"), std::nullopt, QStringLiteral("Use metric units"),
                                       QStringLiteral("2024-12-04T12:00:00Z")}};
    const QList<MemoryGroup> groups = MemoryBuilders::memoryGroups(agentWith(QString()), team, notes);
    ASSERT_EQ(groups.size(), 2) << "an empty blob gives no group";
    EXPECT_EQ(groups[0].cat, QStringLiteral("Team memory"));
    EXPECT_EQ(groups[0].items[0].scope, MemoryScope::shared());
    EXPECT_EQ(groups[0].items[0].scopeLabel, QStringLiteral("Shared"));
    EXPECT_EQ(groups[0].items[0].when, QStringLiteral("shared inside this team"));
    EXPECT_EQ(groups[1].cat, QStringLiteral("You taught"));
    const MemoryEntryItem& note = groups[1].items[0];
    EXPECT_EQ(note.id, QStringLiteral("note-mn-1"));
    EXPECT_EQ(note.icon, QStringLiteral(u"\U0001F4DD"));
    EXPECT_EQ(note.badge, QStringLiteral("Note"));
    EXPECT_EQ(note.scopeLabel, QStringLiteral("You"));
    EXPECT_EQ(note.when, QStringLiteral("4 Dec 2024 · you added this"));
    EXPECT_EQ(note.scope, MemoryScope::note(QStringLiteral("mn-1")));

    const JSONObject own{{QStringLiteral("workspace_kind"), QStringLiteral("agent")},
                         {QStringLiteral("worker_user_facts"), QStringLiteral("Likes tea")}};
    const QList<MemoryGroup> alone = MemoryBuilders::memoryGroups({}, own, {});
    EXPECT_EQ(alone[0].cat, QStringLiteral("Workspace memory"));
    EXPECT_EQ(alone[0].items[0].when, QStringLiteral("private to this agent workspace"));
}

TEST(MemoryParseTest, KnowledgeRowsInOrderWithTheirTypesFilterAndCounts)
{
    const JSONObject agent{
        {QStringLiteral("knowledge_urls"), JSONArray{QStringLiteral("https://docs.example.com/guide")}},
        {QStringLiteral("knowledge_base"), QStringLiteral("We sell chairs.")}};
    const QList<MemoryNoteItem> notes{{QStringLiteral("mn-1"), QStringLiteral("Units"), QStringLiteral("metric")}};
    const QList<AgentTableItem> tables{{QStringLiteral("t1"), QStringLiteral("Leads"), std::nullopt,
                                        JSONArray{QStringLiteral("a"), QStringLiteral("b")}}};
    const QList<AgentFileItem> files{{QStringLiteral("http://h/api/v2/chat-files/k1"), QStringLiteral("brief.pdf")}};
    const QList<AgentSkillItem> skills{
        {QStringLiteral("s1"), QStringLiteral("Pricing"), std::nullopt, std::nullopt, QStringLiteral("attached")},
        {std::nullopt, QStringLiteral("Outreach"), std::nullopt, std::nullopt, QStringLiteral("generated")}};
    const QList<KBRow> rows = MemoryBuilders::kbRows(agent, notes, tables, files, skills);
    QStringList ids;
    for (const KBRow& r : rows)
        ids << r.id;
    EXPECT_EQ(ids.join(QLatin1Char(' ')),
              QStringLiteral("link-0 knowledge-base note-mn-1 table-t1 file-0 skill-s1 skill-1"));
    EXPECT_EQ(rows[0].type, KBRow::RowType::link);
    EXPECT_EQ(rows[0].meta, QStringLiteral("agent knowledge URL"));
    EXPECT_EQ(rows[0].name, QStringLiteral("docs.example.com/guide"));
    EXPECT_EQ(rows[3].meta, QStringLiteral("2 columns"));
    EXPECT_EQ(rows[4].meta, QStringLiteral("agent file"));
    EXPECT_EQ(rows[5].meta, QStringLiteral("attached skill"));
    EXPECT_EQ(rows[6].meta, QStringLiteral("agent skill"));
    EXPECT_TRUE(rows[0].isRemovable() && rows[1].isRemovable() && rows[4].isRemovable());
    EXPECT_FALSE(rows[3].isRemovable() || rows[5].isRemovable());
    EXPECT_EQ(KBRow::displayName(KBRow::RowType::table), QStringLiteral("Table"));
    EXPECT_EQ(KBRow::typeOfKey(QStringLiteral("skill")), KBRow::RowType::skill);

    EXPECT_EQ(MemoryBuilders::filteredRows(rows, QStringLiteral("LEADS"), std::nullopt).size(), 1);
    EXPECT_EQ(MemoryBuilders::filteredRows(rows, QString(), KBRow::RowType::doc).size(), 2);
    EXPECT_EQ(MemoryBuilders::filteredRows(rows, QStringLiteral("chairs"), KBRow::RowType::link).size(), 0);
    const QMap<KBRow::RowType, int> stats = MemoryBuilders::kbStats(rows);
    EXPECT_EQ(stats.value(KBRow::RowType::skill), 2);
    EXPECT_EQ(stats.value(KBRow::RowType::doc), 2);
}

TEST(MemoryParseTest, TheGraphPutsTheEmployeeInTheMiddleAndEverythingInsideTheFrame)
{
    const QList<MemoryGroup> groups
        = MemoryBuilders::memoryGroups(agentWith(QStringLiteral("a\n\n---\nb\n\n---\nc")), {}, {});
    QList<KBRow> rows;
    for (int i = 0; i < 12; ++i)
        rows << KBRow{QStringLiteral("link-%1").arg(i), {}, KBRow::RowType::link, QStringLiteral("L%1").arg(i)};
    const QList<GraphNode> nodes = MemoryBuilders::graphNodes(groups, rows, QStringLiteral("Ava"), 8);
    ASSERT_EQ(nodes.size(), 1 + 2 + 3 + 8);
    EXPECT_EQ(nodes[0].kind, GraphNode::Kind::centre);
    EXPECT_EQ(nodes[0].label, QStringLiteral("Ava"));
    EXPECT_DOUBLE_EQ(nodes[0].x, 0.5);
    EXPECT_EQ(nodes[1].label, QStringLiteral("This agent"));
    EXPECT_NEAR(nodes[1].x, 0.5, 1e-9) << "the first hub sits at the top";
    EXPECT_LT(nodes[1].y, 0.5);
    EXPECT_EQ(nodes.last().label, QStringLiteral("+5 more"));
    for (const GraphNode& n : nodes) {
        EXPECT_TRUE(n.x >= 0 && n.x <= 1 && n.y >= 0 && n.y <= 1) << n.label.toStdString();
        EXPECT_EQ(n.parentId.isEmpty(), n.kind == GraphNode::Kind::centre);
    }
    EXPECT_EQ(MemoryBuilders::graphNodes(groups, rows, QStringLiteral("Ava"), 8), nodes)
        << "the layout is the same every time";
}

TEST(MemoryParseTest, LinksTextHelpersAndResults)
{
    EXPECT_EQ(MemoryParse::normalisedLink(QStringLiteral("  docs.example.com/guide ")),
              QStringLiteral("https://docs.example.com/guide"));
    EXPECT_EQ(MemoryParse::normalisedLink(QStringLiteral("http://intranet/wiki")),
              QStringLiteral("http://intranet/wiki"));
    EXPECT_FALSE(MemoryParse::normalisedLink(QStringLiteral("not a link")));
    EXPECT_FALSE(MemoryParse::normalisedLink(QStringLiteral("chairs")));
    EXPECT_FALSE(MemoryParse::normalisedLink(QStringLiteral("ftp://files.example.com/a")));
    EXPECT_FALSE(MemoryParse::normalisedLink(QStringLiteral("javascript:alert(1)")));

    EXPECT_EQ(MemoryParse::titleCase(QStringLiteral("target market")), QStringLiteral("Target Market"));
    EXPECT_EQ(MemoryParse::plainText(QStringLiteral("## **Weekly** [report](https://x.y)\n- `one`")),
              QStringLiteral("Weekly report\none"));
    EXPECT_EQ(MemoryParse::resultTitle(QStringLiteral("\n# Leads for March\nbody")), QStringLiteral("Leads for March"));
    EXPECT_EQ(MemoryParse::resultTitle(QString()), QStringLiteral("Result"));
    EXPECT_EQ(MemoryParse::safeFileName(QStringLiteral("Leads / March: *final*"), QStringLiteral(".md")),
              QStringLiteral("leads-march-final.md"));
    EXPECT_EQ(MemoryParse::safeFileName(QStringLiteral("???"), QStringLiteral("txt")), QStringLiteral("result.txt"));
    EXPECT_EQ(MemoryParse::shortDate(QStringLiteral("2024-12-04")), QStringLiteral("4 Dec 2024"));
    EXPECT_EQ(MemoryParse::shortDate(QStringLiteral("soon")), QString());

    const QList<KBRow> results = MemoryBuilders::resultFiles(
        {{QStringLiteral("Find leads"),
          {GoalRunItem{QStringLiteral("r1"), QStringLiteral("g1"), QStringLiteral("accepted"),
                       QStringLiteral("# 12 leads\n..."), std::nullopt, std::nullopt},
           GoalRunItem{QStringLiteral("r2")}}}});
    ASSERT_EQ(results.size(), 1) << "a run without a result is no file";
    EXPECT_EQ(results[0].name, QStringLiteral("12 leads"));
    EXPECT_EQ(results[0].meta, QStringLiteral("goal result · Find leads"));
}
