// The sidebar's flat rows: filtering, folds that persist, and updates that keep delegates.
#include "ui/sidebar/SidebarRows.h"
#include "ui/sidebar/SidebarFolds.h"

#include "agents/service/AgentService.h"
#include "agents/viewmodel/AgentListViewModel.h"
#include "core/prefs/Preferences.h"
#include "support/TestClient.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

Agent agent(const char* id, const char* name, std::optional<QString> group = std::nullopt)
{
    Agent a;
    a.id = QString::fromUtf8(id);
    a.name = QString::fromUtf8(name);
    a.status = QStringLiteral("active");
    a.agentGroup = std::move(group);
    return a;
}

class SidebarRowsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Preferences preferences{dir.filePath(QStringLiteral("p.ini"))};
    std::unique_ptr<TestClient> t = makeTestClient(QUrl(QStringLiteral("http://127.0.0.1:9")));
    AgentService service{t->client};
    AgentListViewModel sidebar{t->client, service, preferences};
    std::unique_ptr<SidebarFolds> folds = std::make_unique<SidebarFolds>(preferences);

    void SetUp() override
    {
        AgentsListResponse response;
        response.agents = {agent("g1", "writer-growth", QStringLiteral("Growth")),
                           agent("g2", "seo-growth", QStringLiteral("Growth")), agent("e1", "Ada"), agent("e2", "Bea")};
        response.unread = QMap<QString, int>{{QStringLiteral("e2"), 3}};
        response.orchestratorUnread = QMap<QString, int>{{QStringLiteral("growth"), 2}};
        sidebar.applyPrefetched(response);
    }

    QStringList shape(const QList<SidebarRow>& rows) const
    {
        QStringList out;
        for (const SidebarRow& row : rows)
            out << row.kind + QLatin1Char(':') + row.title;
        return out;
    }
    QStringList shape(const QString& search = {}) const
    {
        return shape(flattenSidebar(sidebar.tabbedSections(), &sidebar, folds.get(), search));
    }
    QStringList shape(const SidebarRows& rows) const
    {
        QStringList out;
        for (int i = 0; i < rows.rowCount(); ++i) {
            const QModelIndex index = rows.index(i);
            out << rows.data(index, SidebarRows::KindRole).toString() + QLatin1Char(':')
                    + rows.data(index, SidebarRows::TitleRole).toString();
        }
        return out;
    }
};

TEST_F(SidebarRowsTest, TeamsStartFoldedAndCarryTheirUnreadCounts)
{
    const QStringList expected{QStringLiteral("section:Teams"), QStringLiteral("team:Growth"),
                               QStringLiteral("section:Employees"), QStringLiteral("agent:Ada"),
                               QStringLiteral("agent:Bea")};
    EXPECT_EQ(shape(), expected);
    const QList<SidebarRow> rows = flattenSidebar(sidebar.tabbedSections(), &sidebar, folds.get(), {});
    EXPECT_EQ(rows[1].unread, 2);
    EXPECT_EQ(rows[1].subtitle, QStringLiteral("2"));
    EXPECT_EQ(rows[4].unread, 3);
}

TEST_F(SidebarRowsTest, SearchMatchesMembersInsideFoldsAndIgnoresCase)
{
    folds->toggleSection(QStringLiteral("__teams"));
    EXPECT_EQ(shape(QStringLiteral("  SEO ")),
              (QStringList{QStringLiteral("section:Teams"), QStringLiteral("team:Growth"),
                           QStringLiteral("member:seo-growth")}));
    // A team that matches by its label shows all of its members.
    EXPECT_EQ(shape(QStringLiteral("grow")).size(), 4);
    EXPECT_TRUE(shape(QStringLiteral("nobody")).isEmpty());
}

TEST_F(SidebarRowsTest, FoldsPersistAcrossRuns)
{
    folds->toggleTeam(QStringLiteral("growth"));
    folds->toggleSection(QStringLiteral("__employees"));
    EXPECT_EQ(preferences.expandedTeams(), QStringLiteral("growth"));
    EXPECT_EQ(preferences.collapsedSections(), QStringLiteral("__employees"));

    folds = std::make_unique<SidebarFolds>(preferences);
    EXPECT_EQ(shape(),
              (QStringList{QStringLiteral("section:Teams"), QStringLiteral("team:Growth"),
                           QStringLiteral("member:writer-growth"), QStringLiteral("member:seo-growth"),
                           QStringLiteral("section:Employees")}));

    folds->toggleTeam(QStringLiteral("growth"));
    EXPECT_EQ(preferences.expandedTeams(), QString());
    // Stray separators and blanks in a stored value are not identities.
    EXPECT_EQ(SidebarFolds::decode(QStringLiteral(" a,,b , ")),
              (QSet<QString>{QStringLiteral("a"), QStringLiteral("b")}));
}

TEST_F(SidebarRowsTest, FoldingAndSearchingInsertAndRemoveRowsWithoutAReset)
{
    SidebarRows rows(sidebar, *folds, preferences);
    QAbstractItemModelTester tester(&rows, QAbstractItemModelTester::FailureReportingMode::Warning);
    QSignalSpy resets(&rows, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&rows, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&rows, &QAbstractItemModel::rowsRemoved);

    rows.toggleFold(QStringLiteral("team:growth"));
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 2);
    EXPECT_EQ(inserted.at(0).at(2).toInt(), 3);
    EXPECT_EQ(shape(rows), shape());

    rows.setSearch(QStringLiteral("bea"));
    EXPECT_EQ(shape(rows), (QStringList{QStringLiteral("section:Employees"), QStringLiteral("agent:Bea")}));
    rows.setSearch({});
    EXPECT_EQ(shape(rows), shape());

    rows.toggleFold(QStringLiteral("__employees"));
    EXPECT_EQ(shape(rows).last(), QStringLiteral("section:Employees"));
    EXPECT_EQ(resets.size(), 0);
    EXPECT_GE(removed.size(), 2);
}

TEST_F(SidebarRowsTest, UnreadChangeUpdatesOneRowInPlace)
{
    SidebarRows rows(sidebar, *folds, preferences);
    QSignalSpy changed(&rows, &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(&rows, &QAbstractItemModel::rowsInserted);
    sidebar.clearUnread(QStringLiteral("e2"));
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed.at(0).at(0).toModelIndex().row(), 4);
    EXPECT_EQ(rows.data(rows.index(4), SidebarRows::UnreadRole).toInt(), 0);
    EXPECT_EQ(inserted.size(), 0);
}

TEST_F(SidebarRowsTest, HeaderNamesTheSelectedEmployeeOrTeam)
{
    SidebarRows rows(sidebar, *folds, preferences);
    rows.select(QStringLiteral("team:growth"));
    EXPECT_EQ(rows.selectedTitle(), QStringLiteral("Growth"));
    EXPECT_EQ(rows.selectedSubtitle(), QStringLiteral("Team · 2 members"));
    rows.select(QStringLiteral("e1"));
    EXPECT_EQ(rows.selectedTitle(), QStringLiteral("Ada"));
    // Blank names are refused before they reach the model.
    rows.rename(QStringLiteral("e1"), QStringLiteral("   "));
    EXPECT_EQ(sidebar.agents().at(2).name, QStringLiteral("Ada"));
}

} // namespace
