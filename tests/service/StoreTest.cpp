// Stores opened in process: the schema's numbered steps, the slug rules shared with the app,
// and a table artifact written and read back.
#include "artifacts/ArtifactStore.h"
#include "core/Migrations.h"
#include "core/Slug.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace service;

namespace {

// A database file in a fresh folder, removed with the fixture.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "halvex-store-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    std::string path() const { return m_dir + "/service.sqlite3"; }

private:
    std::string m_dir;
};

long long count(Database& db, const std::string& sql) { return integer(db.query(sql).at(0).at(0)); }

} // namespace

TEST_F(StoreTest, FreshDatabaseReachesTheNewestVersionAndReopeningRunsNothing)
{
    const auto newest = static_cast<long long>(migrationSteps().size());
    {
        Database db(path());
        EXPECT_EQ(migrate(db), newest);
        EXPECT_EQ(schemaVersion(db), newest);
        EXPECT_TRUE(db.hasColumn("messages", "full_content"));
        EXPECT_TRUE(db.hasColumn("chat_tables", "updated_at"));
    }
    Database again(path());
    EXPECT_EQ(migrate(again), 0);
    EXPECT_EQ(schemaVersion(again), newest);
}

TEST_F(StoreTest, DatabaseOfTheFirstVersionUpgradesAndKeepsItsRows)
{
    {
        // What an older build left: the first step's tables at version 1, beside tables that
        // were created outside the numbered list, without the later columns.
        Database db(path());
        db.script(R"sql(
        CREATE TABLE users (id INTEGER PRIMARY KEY, email TEXT UNIQUE NOT NULL, password_hash TEXT,
            full_name TEXT, time_zone TEXT, auth_provider TEXT NOT NULL DEFAULT 'password',
            company_name TEXT NOT NULL DEFAULT '', website TEXT NOT NULL DEFAULT '');
        CREATE TABLE sessions (token_hash TEXT PRIMARY KEY, user_id INTEGER NOT NULL, expires_at INTEGER NOT NULL);
        CREATE TABLE agents (id TEXT PRIMARY KEY, user_id INTEGER NOT NULL, position INTEGER NOT NULL, json TEXT NOT NULL);
        CREATE TABLE messages (id INTEGER PRIMARY KEY, agent_id TEXT NOT NULL, role TEXT NOT NULL, content TEXT NOT NULL,
            metadata TEXT NOT NULL DEFAULT '{}', created_at TEXT NOT NULL, read INTEGER NOT NULL DEFAULT 0);
        CREATE TABLE chat_tables (id TEXT PRIMARY KEY, user_id INTEGER NOT NULL, agent_id TEXT NOT NULL, name TEXT NOT NULL,
            description TEXT NOT NULL DEFAULT '', columns TEXT NOT NULL, created_at TEXT NOT NULL);
        INSERT INTO users (email) VALUES ('old@example.com');
        INSERT INTO messages (agent_id, role, content, created_at) VALUES ('a-1', 'user', 'hello', 'then');
        INSERT INTO chat_tables (id, user_id, agent_id, name, columns, created_at) VALUES ('tbl-old', 1, 'a-1', 'Old', '[]', 'then');
        PRAGMA user_version = 1;
        )sql");
    }
    Database db(path());
    EXPECT_EQ(migrate(db), static_cast<long long>(migrationSteps().size()) - 1);
    EXPECT_EQ(count(db, "SELECT count(*) FROM users"), 1);
    EXPECT_TRUE(db.hasColumn("messages", "full_content"));
    EXPECT_EQ(text(db.query("SELECT updated_at FROM chat_tables WHERE id = 'tbl-old'").at(0).at(0)), "then");
}

TEST_F(StoreTest, FailingStepLeavesTheVersionAndItsWritesUntouched)
{
    Database db(path());
    const std::vector<MigrationStep> steps = {
        [](Database& d) { d.script("CREATE TABLE one (x)"); },
        [](Database& d) {
            d.script("CREATE TABLE two (x)");
            d.script("NOT SQL");
        },
    };
    EXPECT_THROW(migrate(db, steps), std::exception);
    EXPECT_EQ(schemaVersion(db), 1);
    EXPECT_EQ(count(db, "SELECT count(*) FROM sqlite_master WHERE name = 'two'"), 0);
}

TEST_F(StoreTest, TableArtifactRoundTripsForItsOwnerOnly)
{
    Database db(path());
    migrate(db);
    NewTable table;
    table.name = "Leads";
    table.columns = json::array({{{"id", "c"}, {"name", "Company"}, {"type", "text"}}});
    for (int i = 1; i <= 3; ++i)
        table.rows.push_back({{"c", "Co " + std::to_string(i)}});
    const std::string id = createTable(db, 1, "a-1", table);

    const auto definition = tableDefinition(db, 1, "a-1", id);
    ASSERT_TRUE(definition);
    EXPECT_EQ((*definition)["columns"][0]["name"], "Company");
    EXPECT_FALSE((*definition)["updated_at"].get<std::string>().empty());
    const auto rows = tableRows(db, 1, "a-1", id, 2, false);
    ASSERT_TRUE(rows);
    EXPECT_EQ((*rows)["total"], 3);
    EXPECT_EQ((*rows)["rows"][0]["data"]["c"], "Co 3");
    EXPECT_FALSE(tableDefinition(db, 1, "a-2", id));
    EXPECT_FALSE(tableRows(db, 2, "a-1", id, 2, true));
}

TEST(Slug, TeamSlugsFollowTheAppsGroupRules)
{
    EXPECT_EQ(groupSlug("  Ops & Support "), "ops-support");
    EXPECT_EQ(groupSlug("Équipe Café Crème"), "equipe-cafe-creme");
    EXPECT_EQ(groupSlug("!!! ???"), "group");
    EXPECT_EQ(groupSlug("Отдел продаж"), "group"); // teams keep no Cyrillic: the app does not transliterate them
    EXPECT_EQ(groupSlug("Sales Отдел"), "sales");
    // The label is cut to 80 characters before its slug is made.
    EXPECT_EQ(groupSlug(std::string(200, 'a')), std::string(80, 'a'));
    EXPECT_EQ(groupSlug("a\t\n  b"), "a-b");
}

TEST(Slug, ProjectSlugsFoldTransliterateAndReserveGroup)
{
    EXPECT_EQ(projectSlug("Мой проект"), "moi-proekt");
    EXPECT_EQ(projectSlug("Café Paris!"), "cafe-paris");
    EXPECT_EQ(projectSlug("Київ їжак"), "kiyiv-yizhak");
    EXPECT_EQ(projectSlug("Group"), std::nullopt);
    EXPECT_EQ(projectSlug("§§§"), "");
    EXPECT_EQ(projectSlug(std::string(300, 'x'))->size(), 120u);
    // A cut that lands on a separator never leaves it at the end.
    const auto cut = projectSlug(std::string(119, 'x') + " yy");
    EXPECT_EQ(*cut, std::string(119, 'x'));
}
