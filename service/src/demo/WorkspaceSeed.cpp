// The demo workspace's teams and projects: team settings and usage, a pinned and an archived
// employee, and a project with members, files, memory, tasks and a feed long enough to page.
#include "demo/DemoSeed.h"

#include "agents/AgentJson.h"
#include "agents/AgentStore.h"
#include "core/Http.h"
#include "projects/ProjectFiles.h"
#include "teams/TeamStore.h"

#include <fstream>

namespace service {

namespace {

void patchAgent(Service& s, const std::string& id, const json& changes)
{
    const auto rows = s.db->query("SELECT json FROM agents WHERE id = ?", {id});
    if (rows.empty())
        return;
    json a = json::parse(text(rows[0][0]));
    a.update(changes);
    s.db->execute("UPDATE agents SET json = ? WHERE id = ?", {a.dump(), id});
}

void seedAgents(Service& s, long long uid)
{
    patchAgent(s, "a-writer-growth", {{"role", "Copywriter"}, {"is_employer", true}});
    patchAgent(s, "a-analyst-growth", {{"role", "Data analyst"}, {"is_employer", true}});
    patchAgent(s, "a-support", {{"pinned", true}});
    json archived = agentJson("a-retired", "Retired Scout", "");
    archived["status"] = "archived";
    insertAgent(s, uid, archived);
    const std::tuple<const char*, long long, long long, double> usage[]
        = {{"a-writer-growth", 182000, 41, 3.64}, {"a-analyst-growth", 95500, 17, 1.91}};
    for (const auto& [id, tokens, calls, cost] : usage)
        s.db->execute("INSERT OR REPLACE INTO agent_usage (agent_id, tokens, calls, cost_usd) VALUES (?, ?, ?, ?)",
                      {std::string(id), tokens, calls, cost});
}

void seedTeam(Service& s, long long uid)
{
    TeamSettings growth;
    growth.reviewerHandle = "analyst";
    growth.handoffDepth = 2;
    growth.loop = json{{"enabled", true},     {"max_iterations", 4},     {"max_tokens", 200000},
                       {"max_cost_usd", 2.5}, {"quality_threshold", 80}, {"stop_on_no_improvement", true}};
    growth.budgetUsdMonth = 50;
    growth.teamDirective = "Grow sign-ups with honest, useful content.";
    saveTeamSettings(s, uid, "growth", growth);
}

void seedProject(Service& s, long long uid)
{
    const std::string p = "p-demo-launch";
    s.db->execute(
        "INSERT INTO projects (id, user_id, slug, label, brief, status, budget_usd_month, spent_usd, created_at) "
        "VALUES (?, ?, 'spring-launch', 'Spring Launch', ?, 'active', 100, 42.5, ?)",
        {p, uid, std::string("Launch the spring release to existing customers and two new segments."), nowIso()});
    const std::tuple<const char*, const char*, const char*, const char*, const char*> members[]
        = {{"pm-researcher", "agent", "a-researcher", nullptr, "Finds competitors and sources"},
           {"pm-growth", "team", nullptr, "growth", "Writes and measures the campaign"},
           {"pm-gone", "agent", "a-gone", nullptr, "Left the company"}};
    for (const auto& [id, kind, agent, team, note] : members)
        s.db->execute(
            "INSERT INTO project_members (id, project_id, member_kind, agent_id, team_slug, note, created_at) "
            "VALUES (?, ?, ?, ?, ?, ?, ?)",
            {std::string(id), p, std::string(kind), agent ? SqlValue(std::string(agent)) : SqlValue(nullptr),
             team ? SqlValue(std::string(team)) : SqlValue(nullptr), std::string(note), nowIso()});

    const auto stored = projectFilesDir(s, p) / "pf-demo-plan";
    std::error_code ec;
    std::filesystem::create_directories(stored.parent_path(), ec);
    const std::string plan = "# Launch plan\n\n1. Announce\n2. Webinar\n3. Follow-up\n";
    std::ofstream(stored, std::ios::binary) << plan;
    s.db->execute(
        "INSERT INTO project_files (id, project_id, name, source, url, mime, size_bytes, stored_path, created_at) "
        "VALUES ('pf-demo-plan', ?, 'launch-plan.md', 'upload', ?, 'text/markdown', ?, ?, ?)",
        {p, s.origin() + "/api/v2/projects/spring-launch/files/pf-demo-plan/content",
         static_cast<long long>(plan.size()), stored.string(), nowIso()});
    s.db->execute("INSERT INTO project_files (id, project_id, name, source, url, mime, author_agent_id, created_at) "
                  "VALUES ('pf-demo-site', ?, 'halvex.example', 'link', 'https://halvex.example/', 'text/html', "
                  "'a-researcher', ?)",
                  {p, nowIso()});

    for (const char* name : {"goals", "context"})
        s.db->execute("INSERT INTO project_blocks (project_id, name, content) VALUES (?, ?, ?)",
                      {p, std::string(name),
                       std::string(name) == std::string("goals") ? std::string("- 500 sign-ups\n- 3 case studies")
                                                                 : std::string("B2B, self-serve, EU first.")});
    s.db->execute("INSERT INTO project_notes (project_id, author, content, created_at) VALUES (?, 'You', 'Keep the "
                  "tone plain.', ?)",
                  {p, nowIso()});
    s.db->execute("INSERT INTO project_notes (project_id, author, author_agent_id, content, created_at) "
                  "VALUES (?, 'Researcher', 'a-researcher', 'Two competitors launch in April.', ?)",
                  {p, nowIso()});
    s.db->execute(
        "INSERT INTO project_knowledge_notes (id, project_id, title, body, author_kind, author_agent_id, author_name, "
        "pinned, tags, created_at, updated_at) VALUES ('kn-demo-1', ?, 'Pricing', 'Per seat, annual discount 20%.', "
        "'agent', 'a-researcher', 'Researcher', 1, '[\"pricing\",\"facts\"]', ?, ?)",
        {p, nowIso(), nowIso()});
    s.db->execute(
        "INSERT INTO project_tables (id, project_id, name, description, columns, created_by_agent_id, author_name, "
        "created_at, updated_at) VALUES ('kt-demo-leads', ?, 'Leads', 'Accounts to contact', "
        "'[{\"id\":\"c1\",\"name\":\"Company\",\"type\":\"text\"},{\"id\":\"c2\",\"name\":\"Seats\",\"type\":"
        "\"number\"}]', "
        "'a-analyst-growth', 'Analyst', ?, ?)",
        {p, nowIso(), nowIso()});
    const std::pair<const char*, int> leads[] = {{"Acme", 40}, {"Globex", 120}, {"Initech", 15}};
    int position = 0;
    for (const auto& [company, seats] : leads) {
        s.db->execute("INSERT INTO project_table_rows (id, table_id, position, data) VALUES (?, 'kt-demo-leads', ?, ?)",
                      {"kr-demo-" + std::to_string(position), static_cast<long long>(position),
                       json{{"Company", company}, {"Seats", seats}}.dump()});
        ++position;
    }

    const std::tuple<const char*, const char*, const char*, const char*> tasks[]
        = {{"Draft the announcement", "in_progress", "team", "growth"},
           {"List ten competitor features", "done", "agent", "a-researcher"},
           {"Book the webinar room", "todo", "none", nullptr}};
    for (const auto& [taskText, status, kind, assignee] : tasks)
        s.db->execute("INSERT INTO project_tasks (project_id, text, status, assignee_kind, assignee_id, created_at) "
                      "VALUES (?, ?, ?, ?, ?, ?)",
                      {p, std::string(taskText), std::string(status), std::string(kind),
                       assignee ? SqlValue(std::string(assignee)) : SqlValue(nullptr), nowIso()});
    for (int i = 1; i <= 45; ++i)
        s.db->execute("INSERT INTO project_events (project_id, kind, actor_label, title, detail, created_at) VALUES "
                      "(?, ?, ?, ?, '', ?)",
                      {p, std::string(i % 3 ? "task_status" : "note_added"),
                       std::string(i % 2 ? "Researcher" : "Growth"), "Update " + std::to_string(i), nowIso()});
}

} // namespace

void seedTeamsAndProjects(Service& s, long long userId)
{
    seedAgents(s, userId);
    seedTeam(s, userId);
    seedProject(s, userId);
    seedProjectProfile(s, userId);
    seedMemory(s, userId);
}

} // namespace service
