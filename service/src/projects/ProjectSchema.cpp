// Schema steps of projects: the projects with members, files, notes and blocks, then their
// knowledge, tables, tasks and events.
#include "core/Migrations.h"

namespace service {

void createProjects(Database& db)
{
    db.script(R"sql(
    CREATE TABLE IF NOT EXISTS projects (id TEXT PRIMARY KEY, user_id INTEGER NOT NULL, slug TEXT NOT NULL,
        label TEXT NOT NULL, brief TEXT NOT NULL DEFAULT '', status TEXT NOT NULL DEFAULT 'active',
        budget_usd_month REAL, spent_usd REAL NOT NULL DEFAULT 0, creation_request_id TEXT, overview TEXT,
        created_at TEXT NOT NULL, UNIQUE (user_id, slug));
    CREATE TABLE IF NOT EXISTS project_members (id TEXT PRIMARY KEY, project_id TEXT NOT NULL, member_kind TEXT NOT NULL,
        agent_id TEXT, team_slug TEXT, note TEXT NOT NULL DEFAULT '', created_at TEXT NOT NULL);
    CREATE TABLE IF NOT EXISTS project_files (id TEXT PRIMARY KEY, project_id TEXT NOT NULL, name TEXT NOT NULL,
        source TEXT NOT NULL, url TEXT NOT NULL, mime TEXT, size_bytes INTEGER, stored_path TEXT, author_agent_id TEXT,
        created_at TEXT NOT NULL);
    CREATE TABLE IF NOT EXISTS project_notes (id INTEGER PRIMARY KEY, project_id TEXT NOT NULL, author TEXT NOT NULL,
        author_agent_id TEXT, content TEXT NOT NULL, created_at TEXT NOT NULL);
    CREATE TABLE IF NOT EXISTS project_blocks (project_id TEXT NOT NULL, name TEXT NOT NULL, content TEXT NOT NULL,
        PRIMARY KEY (project_id, name));
    )sql");
}

void createProjectBoard(Database& db)
{
    db.script(R"sql(
    CREATE TABLE IF NOT EXISTS project_knowledge_notes (id TEXT PRIMARY KEY, project_id TEXT NOT NULL, title TEXT,
        body TEXT NOT NULL, author_kind TEXT NOT NULL, author_agent_id TEXT, author_name TEXT, pinned INTEGER NOT NULL DEFAULT 0,
        tags TEXT NOT NULL DEFAULT '[]', created_at TEXT NOT NULL, updated_at TEXT NOT NULL);
    CREATE TABLE IF NOT EXISTS project_tables (id TEXT PRIMARY KEY, project_id TEXT NOT NULL, name TEXT NOT NULL,
        description TEXT, columns TEXT NOT NULL DEFAULT '[]', created_by_agent_id TEXT, author_name TEXT,
        created_at TEXT NOT NULL, updated_at TEXT NOT NULL);
    CREATE TABLE IF NOT EXISTS project_table_rows (id TEXT PRIMARY KEY, table_id TEXT NOT NULL, position INTEGER NOT NULL,
        data TEXT NOT NULL);
    CREATE TABLE IF NOT EXISTS project_tasks (id INTEGER PRIMARY KEY, project_id TEXT NOT NULL, text TEXT NOT NULL,
        status TEXT NOT NULL DEFAULT 'todo', assignee_kind TEXT NOT NULL DEFAULT 'none', assignee_id TEXT, result_md TEXT,
        created_at TEXT NOT NULL);
    CREATE TABLE IF NOT EXISTS project_events (id INTEGER PRIMARY KEY, project_id TEXT NOT NULL, kind TEXT NOT NULL,
        actor_label TEXT NOT NULL, title TEXT NOT NULL, detail TEXT NOT NULL DEFAULT '', created_at TEXT NOT NULL);
    CREATE INDEX IF NOT EXISTS project_events_by_project ON project_events (project_id, id);
    )sql");
}

} // namespace service
