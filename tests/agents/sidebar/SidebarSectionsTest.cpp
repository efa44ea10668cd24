#include "agents/model/SidebarSections.h"

#include <gtest/gtest.h>

using namespace halvex;

namespace {

Agent agent(const char* id, const char* name, std::optional<QString> group = std::nullopt, bool pinned = false)
{
    Agent a;
    a.id = QString::fromUtf8(id);
    a.name = QString::fromUtf8(name);
    a.status = QStringLiteral("active");
    a.agentGroup = std::move(group);
    a.pinned = pinned;
    return a;
}

QStringList identities(const SidebarSection& section)
{
    QStringList ids;
    for (const auto& item : section.items)
        ids.append(item.identity());
    return ids;
}

} // namespace

TEST(SidebarSectionsTest, TeamsNeedTheHyphenAndSlugNamingAndPinnedTeamsComeFirst)
{
    QList<Agent> agents = {
        agent("w1", "writer-growth", QStringLiteral("Growth")),
        agent("r1", "Research-Lead-Growth", QStringLiteral("Growth")),
        agent("s1", "alice", QStringLiteral("Sales")), // not named -sales: no team
        agent("o1", "ops-lead-ops-support", QStringLiteral(" Ops &\n Support "), true),
        agent("x1", "bot", std::nullopt),
    };
    Agent worker = agent("k1", "Nightly import");
    worker.agentType = QStringLiteral("worker");
    agents.append(worker);
    Agent lead = agent("lead", "Lead");
    lead.isOrchestrator = true;
    lead.status = QStringLiteral("archived"); // still visible, but never a row
    agents.append(lead);
    Agent chat = agent("c1", "Quick question");
    chat.presetKind = QStringLiteral("model_chat");
    agents.append(chat);
    agents.append(agent("gone", "old-growth", QStringLiteral("Growth")));
    agents.last().status = QStringLiteral("archived");

    const auto sections = sidebar::computeSections(agents, {QStringLiteral("x-remembered")});
    ASSERT_EQ(sections.size(), 3);
    EXPECT_EQ(sections[0].id, QStringLiteral("__teams"));
    EXPECT_EQ(sections[1].title, QStringLiteral("Employees"));
    EXPECT_EQ(sections[2].id, QStringLiteral("__workflow"));
    // The all-pinned team leads although "Growth" sorts first.
    EXPECT_EQ(identities(sections[0]),
              QStringList({QStringLiteral("team:ops-support"), QStringLiteral("team:growth")}));
    EXPECT_EQ(sections[0].items[1].team().members.size(), 2);
    EXPECT_EQ(identities(sections[1]), QStringList({QStringLiteral("s1"), QStringLiteral("x1")}));
    EXPECT_EQ(identities(sections[2]), QStringList({QStringLiteral("k1")}));

    EXPECT_TRUE(sidebar::computeSections({lead, chat}, {}).isEmpty());
}

TEST(SidebarSectionsTest, AgentOrderIsStableCaseInsensitive)
{
    Agent lead = agent("lead", "Zed");
    lead.isOrchestrator = true;
    const auto sorted = sidebar::sortedAgents(
        {agent("1", "beta"), agent("2", "Alpha"), agent("3", "alpha"), agent("4", "zulu", std::nullopt, true), lead});
    QStringList ids;
    for (const auto& a : sorted)
        ids.append(a.id);
    EXPECT_EQ(ids,
              QStringList({QStringLiteral("lead"), QStringLiteral("4"), QStringLiteral("2"), QStringLiteral("3"),
                           QStringLiteral("1")}));
}

TEST(SidebarSectionsTest, SelectionSurvivesOnlyWhileListed)
{
    const auto sections = sidebar::computeSections({agent("a", "alpha"), agent("b", "beta")}, {});
    Agent chat = agent("c", "chat");
    EXPECT_EQ(sidebar::repairSelection(QStringLiteral("b"), sections, {chat}), QStringLiteral("b"));
    EXPECT_EQ(sidebar::repairSelection(QStringLiteral("c"), sections, {chat}), QStringLiteral("c"));
    EXPECT_EQ(sidebar::repairSelection(QStringLiteral("c"), sections, {}), QStringLiteral("a")); // chat disappeared
    EXPECT_EQ(sidebar::repairSelection(std::nullopt, {}, {}), std::nullopt);
}

TEST(SidebarSectionsTest, TabsAndTitles)
{
    const auto sections = sidebar::computeSections({agent("a", "alpha")}, {});
    EXPECT_TRUE(sidebar::tabbedSections(SidebarTab::chat, sections, {}, {}).isEmpty());
    const auto chats = sidebar::tabbedSections(SidebarTab::chat, sections, {agent("c", "chat")}, {});
    ASSERT_EQ(chats.size(), 1);
    EXPECT_EQ(chats[0].id, QStringLiteral("__chats"));
    EXPECT_EQ(sidebar::tabbedSections(SidebarTab::agents, sections, {}, {}), sections);
    const auto projects = sidebar::tabbedSections(SidebarTab::projects, sections, {},
                                                  {{QStringLiteral("apollo"), QStringLiteral("Apollo"), 2}});
    EXPECT_EQ(identities(projects[0]), QStringList({QStringLiteral("project:apollo")}));

    EXPECT_EQ(sidebar::chatTitle(QString()), QStringLiteral("New chat"));
    EXPECT_EQ(sidebar::chatTitle(QStringLiteral("  \n\n  Plan the launch  \nmore")), QStringLiteral("Plan the launch"));
    const QString sixty = QStringLiteral("abcdefghij").repeated(4) + QStringLiteral("abcdefg   jklmnopqrst");
    EXPECT_EQ(sidebar::chatTitle(sixty), QStringLiteral("abcdefghij").repeated(4) + QStringLiteral("abcdefg…"));
    EXPECT_EQ(sidebar::chatTitle(QString(48, QLatin1Char('x'))), QString(48, QLatin1Char('x')));
    // Forty-eight emoji are ninety-six UTF-16 units: still a title that needs no cut.
    const QString rockets = QString::fromUtf8("🚀").repeated(48);
    EXPECT_EQ(sidebar::chatTitle(rockets), rockets);
    EXPECT_EQ(sidebar::chatTitle(rockets + QString::fromUtf8("🚀")), rockets + QStringLiteral("…"));

    EXPECT_EQ(sidebar::teamMemberName(QStringLiteral("Research Lead"), QStringLiteral("growth")),
              QStringLiteral("research-lead-growth"));
    EXPECT_EQ(sidebar::teamMemberName(QStringLiteral("writer-growth"), QStringLiteral("growth")),
              QStringLiteral("writer-growth"));
    EXPECT_EQ(sidebar::teamMemberName(QStringLiteral("Growth"), QStringLiteral("growth")),
              QStringLiteral("growth-growth"));
}
