#include "projects/ProjectStore.h"

#include "agents/AgentJson.h"
#include "core/Crypto.h"
#include "core/Slug.h"
#include "core/SqlValues.h"
#include "goals/GoalStore.h"
#include "teams/TeamStore.h"

#include <limits>

namespace service {

namespace {

json textOrNull(const SqlValue& v) { return isNull(v) ? json(nullptr) : json(text(v)); }

json parsedOr(const SqlValue& v, json fallback)
{
    json parsed = json::parse(text(v), nullptr, false);
    return parsed.is_discarded() ? fallback : parsed;
}

std::optional<json> agentOf(Service& s, long long uid, const std::string& id)
{
    const auto rows = s.db->query("SELECT json FROM agents WHERE id = ? AND user_id = ?", {id, uid});
    if (rows.empty())
        return std::nullopt;
    json a = json::parse(text(rows[0][0]), nullptr, false);
    return a.is_object() ? std::optional<json>(a) : std::nullopt;
}

json agentRef(const json& a)
{
    return {{"id", textOf(a, "id")},
            {"name", textOf(a, "name")},
            {"role", textOf(a, "role").empty() ? json(nullptr) : json(textOf(a, "role"))},
            {"avatar_url", textOf(a, "avatar_url").empty() ? json(nullptr) : json(textOf(a, "avatar_url"))},
            {"status", textOf(a, "status")}};
}

} // namespace

std::optional<ProjectRef> findProject(Service& s, long long uid, const std::string& slug)
{
    const auto rows = s.db->query("SELECT id, slug FROM projects WHERE user_id = ? AND slug = ?", {uid, slug});
    if (rows.empty())
        return std::nullopt;
    return ProjectRef{text(rows[0][0]), text(rows[0][1])};
}

json projectJson(Service& s, const std::string& projectId)
{
    const auto rows
        = s.db->query("SELECT id, slug, label, brief, status, budget_usd_month, "
                      "(SELECT count(*) FROM project_members m WHERE m.project_id = p.id) FROM projects p WHERE id = ?",
                      {projectId});
    if (rows.empty())
        return nullptr;
    const auto& r = rows[0];
    return {{"id", text(r[0])},
            {"slug", text(r[1])},
            {"label", text(r[2])},
            {"brief", text(r[3])},
            {"status", text(r[4])},
            {"settings", {{"project_budget_usd_month", isNull(r[5]) ? json(nullptr) : json(realOf(r[5]))}}},
            {"members_count", integer(r[6])}};
}

json projectListJson(Service& s, long long uid)
{
    json out = json::array();
    for (const auto& r : s.db->query("SELECT id FROM projects WHERE user_id = ? ORDER BY created_at, rowid", {uid}))
        out.push_back(projectJson(s, text(r[0])));
    return out;
}

std::string uniqueProjectSlug(Service& s, long long uid, const std::string& label)
{
    const std::string base = projectSlug(label).value_or(std::string());
    if (base.empty())
        return base;
    std::string slug = base;
    for (int n = 2; findProject(s, uid, slug); ++n)
        slug = base + "-" + std::to_string(n);
    return slug;
}

void addProjectMember(Service& s, const ProjectRef& project, const std::string& kind, const std::string& ref,
                      const std::string& note)
{
    const bool team = kind == "team";
    s.db->execute("INSERT INTO project_members (id, project_id, member_kind, agent_id, team_slug, note, created_at) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?)",
                  {"pm-" + randomHex(8), project.id, kind, team ? SqlValue(nullptr) : SqlValue(ref),
                   team ? SqlValue(ref) : SqlValue(nullptr), note, nowIso()});
    logProjectEvent(s, project.id, "member_added", "You", team ? "Added a team" : "Hired an employee");
}

json membersJson(Service& s, long long uid, const std::string& projectId)
{
    json out = json::array();
    const auto rows = s.db->query("SELECT id, member_kind, agent_id, team_slug, note FROM project_members WHERE "
                                  "project_id = ? ORDER BY created_at, rowid",
                                  {projectId});
    for (const auto& r : rows) {
        json m{{"id", text(r[0])}, {"member_kind", text(r[1])}, {"note", text(r[4])}};
        if (text(r[1]) == "team") {
            const auto team = findTeam(s, uid, text(r[3]));
            json members = json::array();
            if (team)
                for (const auto& a : team->members) {
                    json ref = agentRef(a);
                    ref.erase("status");
                    members.push_back(ref);
                }
            m["team"] = {{"slug", text(r[3])}, {"label", team ? team->label : text(r[3])}, {"members", members}};
            m["stale"] = !team;
        } else {
            const auto agent = agentOf(s, uid, text(r[2]));
            // A member whose employee is gone stays listed, so it can still be removed.
            m["agent"] = agent ? agentRef(*agent) : json{{"id", text(r[2])}, {"name", "Removed employee"}};
            m["stale"] = !agent || textOf(*agent, "status") == "archived";
        }
        out.push_back(m);
    }
    return out;
}

json filesJson(Service& s, const std::string& projectId)
{
    json out = json::array();
    const auto rows
        = s.db->query("SELECT id, url, name, source, mime, size_bytes, author_agent_id, created_at FROM project_files "
                      "WHERE project_id = ? ORDER BY created_at, rowid",
                      {projectId});
    for (const auto& r : rows)
        out.push_back({{"id", text(r[0])},
                       {"url", text(r[1])},
                       {"name", text(r[2])},
                       {"source", text(r[3])},
                       {"mime", textOrNull(r[4])},
                       {"size_bytes", isNull(r[5]) ? json(nullptr) : json(integer(r[5]))},
                       {"author_agent_id", textOrNull(r[6])},
                       {"created_at", text(r[7])}});
    return out;
}

json tasksJson(Service& s, long long uid, const std::string& projectId)
{
    json out = json::array();
    const auto rows = s.db->query("SELECT id, text, status, assignee_kind, assignee_id, result_md FROM project_tasks "
                                  "WHERE project_id = ? ORDER BY id",
                                  {projectId});
    for (const auto& r : rows) {
        const std::string kind = text(r[3]);
        std::string label = "Unassigned";
        if (kind == "agent") {
            const auto a = agentOf(s, uid, text(r[4]));
            label = a ? textOf(*a, "name") : "Removed employee";
        } else if (kind == "team") {
            const auto t = findTeam(s, uid, text(r[4]));
            label = t ? t->label : text(r[4]);
        }
        out.push_back({{"id", std::to_string(integer(r[0]))},
                       {"text", text(r[1])},
                       {"status", text(r[2])},
                       {"assignee_kind", kind},
                       {"assignee_id", textOrNull(r[4])},
                       {"assignee_label", label},
                       {"result_md", textOrNull(r[5])}});
    }
    return out;
}

json memoryJson(Service& s, const std::string& projectId)
{
    json blocks = json::object(), notes = json::array(), knowledge = json::array(), tables = json::array();
    for (const auto& r :
         s.db->query("SELECT name, content FROM project_blocks WHERE project_id = ? ORDER BY name", {projectId}))
        blocks[text(r[0])] = text(r[1]);
    for (const auto& r : s.db->query("SELECT id, author, author_agent_id, content, created_at FROM project_notes "
                                     "WHERE project_id = ? ORDER BY id",
                                     {projectId}))
        notes.push_back({{"id", integer(r[0])},
                         {"author", text(r[1])},
                         {"author_agent_id", textOrNull(r[2])},
                         {"content", text(r[3])},
                         {"created_at", text(r[4])}});
    for (const auto& r : s.db->query("SELECT id, title, body, author_kind, author_agent_id, author_name, pinned, tags, "
                                     "created_at, updated_at FROM project_knowledge_notes WHERE project_id = ? "
                                     "ORDER BY pinned DESC, created_at",
                                     {projectId}))
        knowledge.push_back({{"id", text(r[0])},
                             {"title", textOrNull(r[1])},
                             {"body", text(r[2])},
                             {"author_kind", text(r[3])},
                             {"author_agent_id", textOrNull(r[4])},
                             {"author_name", textOrNull(r[5])},
                             {"pinned", integer(r[6]) != 0},
                             {"tags", parsedOr(r[7], json::array())},
                             {"created_at", text(r[8])},
                             {"updated_at", text(r[9])}});
    for (const auto& r :
         s.db->query("SELECT id FROM project_tables WHERE project_id = ? ORDER BY created_at, rowid", {projectId}))
        tables.push_back(tableJson(s, text(r[0])));
    return {{"blocks", blocks}, {"notes", notes}, {"knowledge_notes", knowledge}, {"tables", tables}};
}

json tableJson(Service& s, const std::string& tableId)
{
    const auto rows
        = s.db->query("SELECT id, name, description, columns, created_by_agent_id, author_name, created_at, "
                      "updated_at FROM project_tables WHERE id = ?",
                      {tableId});
    if (rows.empty())
        return nullptr;
    const auto& r = rows[0];
    return {{"id", text(r[0])},
            {"name", text(r[1])},
            {"description", textOrNull(r[2])},
            {"columns", parsedOr(r[3], json::array())},
            {"created_by_agent_id", textOrNull(r[4])},
            {"author_name", textOrNull(r[5])},
            {"created_at", text(r[6])},
            {"updated_at", text(r[7])}};
}

json eventsPage(Service& s, const std::string& projectId, std::optional<long long> before, int limit)
{
    // One row more than asked tells whether an older page exists.
    const auto rows = s.db->query(
        "SELECT id, kind, actor_label, title, detail, created_at FROM project_events WHERE project_id = ? AND id < ? "
        "ORDER BY id DESC LIMIT ?",
        {projectId, before.value_or(std::numeric_limits<long long>::max()), static_cast<long long>(limit + 1)});
    json events = json::array();
    for (size_t i = 0; i < rows.size() && i < size_t(limit); ++i) {
        const auto& r = rows[i];
        events.push_back({{"id", integer(r[0])},
                          {"kind", text(r[1])},
                          {"actor_label", text(r[2])},
                          {"title", text(r[3])},
                          {"detail", text(r[4])},
                          {"created_at", text(r[5])}});
    }
    const bool more = rows.size() > size_t(limit);
    json out{{"events", events}, {"has_more", more}};
    out["next_before"] = more ? json(events.back()["id"]) : json(nullptr);
    return out;
}

json usageJson(Service& s, const std::string& projectId)
{
    const auto r = s.db->query("SELECT spent_usd, budget_usd_month FROM projects WHERE id = ?", {projectId}).at(0);
    const double spent = realOf(r[0]);
    const double budget = isNull(r[1]) ? 0 : realOf(r[1]);
    return {{"spent_usd", spent},
            {"budget_usd", budget},
            {"exceeded", budget > 0 && spent >= budget},
            {"warn", budget > 0 && spent >= 0.8 * budget}};
}

void logProjectEvent(Service& s, const std::string& projectId, const std::string& kind, const std::string& actor,
                     const std::string& title, const std::string& detail)
{
    s.db->execute("INSERT INTO project_events (project_id, kind, actor_label, title, detail, created_at) VALUES (?, ?, "
                  "?, ?, ?, ?)",
                  {projectId, kind, actor, title, detail, nowIso()});
}

void deleteProjectRows(Service& s, const std::string& projectId)
{
    s.db->execute(
        "DELETE FROM project_table_rows WHERE table_id IN (SELECT id FROM project_tables WHERE project_id = ?)",
        {projectId});
    for (const char* table : {"project_members", "project_files", "project_notes", "project_blocks",
                              "project_knowledge_notes", "project_tables", "project_tasks", "project_events"})
        s.db->execute(std::string("DELETE FROM ") + table + " WHERE project_id = ?", {projectId});
    s.db->execute("DELETE FROM chat_goals WHERE scope = ?", {projectGoalScope(projectId)});
    s.db->execute("DELETE FROM projects WHERE id = ?", {projectId});
}

} // namespace service
