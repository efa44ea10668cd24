#include "projects/ProjectBoard.h"

#include "agents/AgentJson.h"
#include "core/JsonFields.h"
#include "core/Utf8.h"
#include "teams/TeamStore.h"

namespace service {

namespace {

constexpr size_t kMaxText = 20000;
const char* const kTaskStatuses[] = {"backlog", "todo", "in_progress", "done", "blocked"};

struct Assignee {
    std::string kind = "none";
    std::optional<std::string> id;
};

// Nothing for no assignee keys; the refusal text in `problem` when they name nobody.
std::optional<Assignee> assigneeOf(Service& s, long long uid, const json& body, std::string& problem)
{
    if (!body.contains("assignee_kind"))
        return std::nullopt;
    const std::string kind = str(body, "assignee_kind");
    if (kind == "none")
        return Assignee{};
    if (kind == "team") {
        const std::string slug = str(body, "team_slug");
        if (!findTeam(s, uid, slug))
            problem = "No team named " + slug;
        return Assignee{kind, slug};
    }
    if (kind == "agent") {
        const std::string id = str(body, "agent_id");
        if (s.db->query("SELECT id FROM agents WHERE id = ? AND user_id = ?", {id, uid}).empty())
            problem = "No employee with the id " + id;
        return Assignee{kind, id};
    }
    problem = "assignee_kind must be agent, team or none";
    return std::nullopt;
}

bool knownStatus(const std::string& status)
{
    for (const char* s : kTaskStatuses)
        if (status == s)
            return true;
    return false;
}

} // namespace

std::optional<std::string> addProjectTask(Service& s, long long uid, const ProjectRef& project, const json& body)
{
    const std::string text = trim(str(body, "text"));
    if (text.empty())
        return std::string("Describe the task in a few words.");
    if (text.size() > kMaxText)
        return std::string("The task is too long.");
    std::string problem;
    const Assignee who = assigneeOf(s, uid, body, problem).value_or(Assignee{});
    if (!problem.empty())
        return problem;
    s.db->execute("INSERT INTO project_tasks (project_id, text, status, assignee_kind, assignee_id, created_at) "
                  "VALUES (?, ?, 'todo', ?, ?, ?)",
                  {project.id, text, who.kind, who.id ? SqlValue(*who.id) : SqlValue(nullptr), nowIso()});
    logProjectEvent(s, project.id, "task_added", "You", "Added task: " + utf8Prefix(text, 120));
    return std::nullopt;
}

std::optional<std::string> changeProjectTask(Service& s, long long uid, const ProjectRef& project,
                                             const std::string& taskId, const json& body)
{
    char* end = nullptr;
    const long long id = std::strtoll(taskId.c_str(), &end, 10);
    const auto rows = end && *end == '\0' && !taskId.empty()
        ? s.db->query("SELECT text FROM project_tasks WHERE id = ? AND project_id = ?", {id, project.id})
        : std::vector<SqlRow>{};
    if (rows.empty())
        return std::string("Task not found");
    bool changed = false;
    if (body.contains("status")) {
        const std::string status = str(body, "status");
        if (!knownStatus(status))
            return "Unknown task status: " + status;
        s.db->execute("UPDATE project_tasks SET status = ? WHERE id = ?", {status, id});
        logProjectEvent(s, project.id, "task_status", "You", "Moved task to " + status,
                        utf8Prefix(text(rows[0][0]), 120));
        changed = true;
    }
    std::string problem;
    if (const auto who = assigneeOf(s, uid, body, problem)) {
        if (!problem.empty())
            return problem;
        s.db->execute("UPDATE project_tasks SET assignee_kind = ?, assignee_id = ? WHERE id = ?",
                      {who->kind, who->id ? SqlValue(*who->id) : SqlValue(nullptr), id});
        logProjectEvent(s, project.id, "task_assigned", "You", "Assigned a task", utf8Prefix(text(rows[0][0]), 120));
        changed = true;
    }
    if (!problem.empty())
        return problem;
    if (!changed)
        return std::string("Nothing to change: send a status or an assignee.");
    return std::nullopt;
}

std::optional<std::string> changeProjectMemory(Service& s, const ProjectRef& project, const json& body)
{
    bool changed = false;
    if (body.contains("note")) {
        const std::string note = trim(str(body, "note"));
        if (note.empty())
            return std::string("The note is empty.");
        if (note.size() > kMaxText)
            return std::string("The note is too long.");
        s.db->execute("INSERT INTO project_notes (project_id, author, content, created_at) VALUES (?, 'You', ?, ?)",
                      {project.id, note, nowIso()});
        logProjectEvent(s, project.id, "note_added", "You", "Added a note", utf8Prefix(note, 120));
        changed = true;
    }
    if (body.contains("delete_note_id")) {
        const auto id = wholeNumber(body["delete_note_id"]);
        if (!id
            || s.db->query("SELECT id FROM project_notes WHERE id = ? AND project_id = ?", {*id, project.id}).empty())
            return std::string("Note not found");
        s.db->execute("DELETE FROM project_notes WHERE id = ?", {*id});
        changed = true;
    }
    if (body.contains("blocks")) {
        const json& blocks = body["blocks"];
        if (!blocks.is_object())
            return std::string("blocks must be an object of texts");
        for (const auto& [name, value] : blocks.items())
            if (!value.is_string() || name.empty() || name.size() > 100
                || value.get<std::string>().size() > kMaxText * 5)
                return "Block " + name + " must be a text";
        for (const auto& [name, value] : blocks.items()) {
            // An emptied block is removed rather than kept blank.
            if (value.get<std::string>().empty())
                s.db->execute("DELETE FROM project_blocks WHERE project_id = ? AND name = ?", {project.id, name});
            else
                s.db->execute("INSERT OR REPLACE INTO project_blocks (project_id, name, content) VALUES (?, ?, ?)",
                              {project.id, name, value.get<std::string>()});
        }
        changed = true;
    }
    if (!changed)
        return std::string("Nothing to change: send a note, a note to delete or blocks.");
    return std::nullopt;
}

std::optional<std::string> changeProject(Service& s, const ProjectRef& project, const json& body)
{
    bool changed = false;
    if (body.contains("label")) {
        const std::string label = body["label"].is_string() ? trim(body["label"].get<std::string>()) : "";
        if (label.empty())
            return std::string("Give the project a name — it becomes its address and its label in every chat.");
        if (label.size() > 200)
            return std::string("The project name is too long.");
        s.db->execute("UPDATE projects SET label = ? WHERE id = ?", {label, project.id});
        logProjectEvent(s, project.id, "project_renamed", "You", "Renamed the project to " + label);
        changed = true;
    }
    if (body.contains("brief")) {
        if (!body["brief"].is_string() || body["brief"].get<std::string>().size() > kMaxText)
            return std::string("brief must be a text of at most 20000 bytes");
        s.db->execute("UPDATE projects SET brief = ? WHERE id = ?", {body["brief"].get<std::string>(), project.id});
        changed = true;
    }
    if (body.contains("status")) {
        const std::string status = str(body, "status");
        if (status != "active" && status != "paused" && status != "archived" && status != "done")
            return "Unknown project status: " + status;
        s.db->execute("UPDATE projects SET status = ? WHERE id = ?", {status, project.id});
        logProjectEvent(s, project.id, "project_status", "You", "Set the project to " + status);
        changed = true;
    }
    if (body.contains("settings")) {
        const json& settings = body["settings"];
        if (!settings.is_object())
            return std::string("settings must be an object");
        if (settings.contains("project_budget_usd_month")) {
            const json& budget = settings["project_budget_usd_month"];
            const auto amount = finiteNumber(budget);
            if (!budget.is_null() && (!amount || *amount < 0))
                return std::string("project_budget_usd_month must be a number of at least 0, or null");
            s.db->execute("UPDATE projects SET budget_usd_month = ? WHERE id = ?",
                          {budget.is_null() ? SqlValue(nullptr) : SqlValue(*amount), project.id});
        }
        changed = true;
    }
    if (!changed)
        return std::string("Nothing to change.");
    return std::nullopt;
}

} // namespace service
