// Projects: the list and creation, one project's fields, members, files and links, memory,
// tables, tasks, goals, events and usage.
#include "Routes.h"

#include "auth/Sessions.h"
#include "core/Http.h"
#include "core/JsonFields.h"
#include "core/Refusable.h"
#include "core/Utf8.h"
#include "goals/GoalStore.h"
#include "projects/ProjectBoard.h"
#include "projects/ProjectCreate.h"
#include "projects/ProjectFiles.h"

#include <fstream>
#include <sstream>

namespace service {

namespace {

const std::string kProject = R"(/api/v2/projects/([A-Za-z0-9_-]+))";

template <typename F>
void withProject(Service& s, const httplib::Request& req, httplib::Response& res, F&& body)
{
    const auto user = requireUser(s, req, res);
    if (!user)
        return;
    const auto project = findProject(s, userId(*user), req.matches[1]);
    if (!project)
        return sendError(res, 404, "Project not found");
    body(userId(*user), *project);
}

// A whole-number query item within [low, high], `fallback` when absent; nothing when malformed.
std::optional<long long> queryNumber(const httplib::Request& req, const char* key, long long fallback, long long low,
                                     long long high)
{
    if (!req.has_param(key))
        return fallback;
    const std::string v = req.get_param_value(key);
    char* end = nullptr;
    const long long n = std::strtoll(v.c_str(), &end, 10);
    if (v.empty() || *end != '\0' || n < low || n > high)
        return std::nullopt;
    return n;
}

void addProjectFileRoutes(httplib::Server& svr, Service& s)
{
    svr.Get(kProject + "/files", [&](const httplib::Request& req, httplib::Response& res) {
        withProject(s, req, res, [&](long long, const ProjectRef& p) {
            sendJson(res, {{"files", filesJson(s, p.id)}});
        });
    });
    svr.Post(kProject + "/files", [&](const httplib::Request& req, httplib::Response& res) {
        withProject(s, req, res, [&](long long, const ProjectRef& p) {
            if (req.is_multipart_form_data()) {
                // Nothing of an upload is stored when one of its names or types is unreadable.
                if (!requestTextValid(req))
                    return sendError(res, 400, kInvalidUtf8);
                json answer;
                s.db->transaction([&] { answer = storeUploads(s, p, req.files); });
                return sendJson(res, answer);
            }
            auto body = parseBody(req, res);
            if (!body)
                return;
            const auto problem = refusableTransaction(*s.db, [&] { return addLinks(s, p, (*body)["links"]); });
            if (problem)
                return sendError(res, 400, *problem);
            sendJson(res, {{"files", filesJson(s, p.id)}});
        });
    });
    svr.Delete(kProject + "/files", [&](const httplib::Request& req, httplib::Response& res) {
        withProject(s, req, res, [&](long long, const ProjectRef& p) {
            const std::string id = req.get_param_value("id");
            const auto rows = s.db->query("SELECT stored_path, name FROM project_files WHERE id = ? AND project_id = ?",
                                          {id, p.id});
            if (rows.empty())
                return sendError(res, 404, "File not found");
            s.db->transaction([&] {
                s.db->execute("DELETE FROM project_files WHERE id = ?", {id});
                logProjectEvent(s, p.id, "file_removed", "You", "Removed " + text(rows[0][1]));
            });
            std::error_code ec;
            if (!text(rows[0][0]).empty())
                std::filesystem::remove(text(rows[0][0]), ec);
            sendJson(res, {{"ok", true}});
        });
    });
    svr.Get(kProject + R"(/files/([A-Za-z0-9_-]+)/content)", [&](const httplib::Request& req, httplib::Response& res) {
        withProject(s, req, res, [&](long long, const ProjectRef& p) {
            const auto rows = s.db->query("SELECT stored_path, mime, name FROM project_files WHERE id = ? AND "
                                          "project_id = ? AND source = 'upload'",
                                          {std::string(req.matches[2]), p.id});
            std::ifstream in(rows.empty() ? std::string() : text(rows[0][0]), std::ios::binary);
            if (rows.empty() || !in)
                return sendError(res, 404, "File not found");
            std::ostringstream bytes;
            bytes << in.rdbuf();
            sendFile(res, bytes.str(), text(rows[0][1]), text(rows[0][2]));
        });
    });
}

void addProjectBoardRoutes(httplib::Server& svr, Service& s)
{
    svr.Get(kProject + "/memory", [&](const httplib::Request& req, httplib::Response& res) {
        withProject(s, req, res, [&](long long, const ProjectRef& p) { sendJson(res, memoryJson(s, p.id)); });
    });
    svr.Put(kProject + "/memory", [&](const httplib::Request& req, httplib::Response& res) {
        auto body = parseBody(req, res);
        if (!body)
            return;
        withProject(s, req, res, [&](long long, const ProjectRef& p) {
            const auto problem = refusableTransaction(*s.db, [&] { return changeProjectMemory(s, p, *body); });
            if (problem)
                return sendError(res, *problem == "Note not found" ? 404 : 400, *problem);
            sendJson(res, memoryJson(s, p.id));
        });
    });
    svr.Get(kProject + R"(/tables/([A-Za-z0-9_-]+)/rows)", [&](const httplib::Request& req, httplib::Response& res) {
        withProject(s, req, res, [&](long long, const ProjectRef& p) {
            const std::string tableId = req.matches[2];
            if (s.db->query("SELECT id FROM project_tables WHERE id = ? AND project_id = ?", {tableId, p.id}).empty())
                return sendError(res, 404, "Table not found");
            const auto limit = queryNumber(req, "limit", 20, 1, 500);
            if (!limit)
                return sendError(res, 400, "limit must be a whole number from 1 to 500");
            json rows = json::array();
            for (const auto& r :
                 s.db->query("SELECT id, data FROM project_table_rows WHERE table_id = ? ORDER BY position LIMIT ?",
                             {tableId, *limit})) {
                json data = json::parse(text(r[1]), nullptr, false);
                rows.push_back({{"id", text(r[0])}, {"data", data.is_object() ? data : json::object()}});
            }
            const long long total = integer(
                s.db->query("SELECT count(*) FROM project_table_rows WHERE table_id = ?", {tableId}).at(0)[0]);
            sendJson(res, {{"table", tableJson(s, tableId)}, {"rows", rows}, {"total", total}, {"limit", *limit}});
        });
    });
    svr.Get(kProject + "/tasks", [&](const httplib::Request& req, httplib::Response& res) {
        withProject(s, req, res, [&](long long uid, const ProjectRef& p) {
            sendJson(res, {{"tasks", tasksJson(s, uid, p.id)}});
        });
    });
    svr.Post(kProject + "/tasks", [&](const httplib::Request& req, httplib::Response& res) {
        auto body = parseBody(req, res);
        if (!body)
            return;
        withProject(s, req, res, [&](long long uid, const ProjectRef& p) {
            const auto problem = refusableTransaction(*s.db, [&] { return addProjectTask(s, uid, p, *body); });
            if (problem)
                return sendError(res, 400, *problem);
            sendJson(res, {{"tasks", tasksJson(s, uid, p.id)}});
        });
    });
    svr.Patch(kProject + R"(/tasks/([A-Za-z0-9_-]+))", [&](const httplib::Request& req, httplib::Response& res) {
        auto body = parseBody(req, res);
        if (!body)
            return;
        withProject(s, req, res, [&](long long uid, const ProjectRef& p) {
            const std::string taskId = req.matches[2];
            const auto problem
                = refusableTransaction(*s.db, [&] { return changeProjectTask(s, uid, p, taskId, *body); });
            if (problem)
                return sendError(res, *problem == "Task not found" ? 404 : 400, *problem);
            sendJson(res, {{"tasks", tasksJson(s, uid, p.id)}});
        });
    });
    svr.Get(kProject + "/goals", [&](const httplib::Request& req, httplib::Response& res) {
        withProject(s, req, res, [&](long long uid, const ProjectRef& p) {
            sendJson(res, {{"goals", listGoals(*s.db, uid, projectGoalScope(p.id), 100)}});
        });
    });
    svr.Get(kProject + "/usage", [&](const httplib::Request& req, httplib::Response& res) {
        withProject(s, req, res, [&](long long, const ProjectRef& p) { sendJson(res, usageJson(s, p.id)); });
    });
    svr.Get(kProject + "/events", [&](const httplib::Request& req, httplib::Response& res) {
        withProject(s, req, res, [&](long long, const ProjectRef& p) {
            const auto limit = queryNumber(req, "limit", 20, 1, 100);
            const auto before = queryNumber(req, "before", 0, 1, std::numeric_limits<long long>::max());
            if (!limit || !before)
                return sendError(res, 400, "before and limit must be positive whole numbers");
            sendJson(res, eventsPage(s, p.id, req.has_param("before") ? before : std::nullopt, int(*limit)));
        });
    });
}

} // namespace

void addProjectRoutes(httplib::Server& svr, Service& s)
{
    svr.Get("/api/v2/projects", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        sendJson(res, {{"projects", projectListJson(s, userId(*user))}});
    });
    svr.Post("/api/v2/projects", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        auto body = parseBody(req, res, kMaxCreateProjectBody);
        if (!body)
            return;
        createProject(s, userId(*user), *body, res);
    });
    svr.Get(kProject, [&](const httplib::Request& req, httplib::Response& res) {
        withProject(s, req, res, [&](long long uid, const ProjectRef& p) {
            sendJson(res, {{"project", projectJson(s, p.id)}, {"members", membersJson(s, uid, p.id)}});
        });
    });
    svr.Patch(kProject, [&](const httplib::Request& req, httplib::Response& res) {
        auto body = parseBody(req, res);
        if (!body)
            return;
        withProject(s, req, res, [&](long long, const ProjectRef& p) {
            const auto problem = refusableTransaction(*s.db, [&] { return changeProject(s, p, *body); });
            if (problem)
                return sendError(res, 400, *problem);
            sendJson(res, {{"ok", true}, {"project", projectJson(s, p.id)}});
        });
    });
    svr.Delete(kProject, [&](const httplib::Request& req, httplib::Response& res) {
        withProject(s, req, res, [&](long long, const ProjectRef& p) {
            s.db->transaction([&] { deleteProjectRows(s, p.id); });
            std::error_code ec;
            std::filesystem::remove_all(projectFilesDir(s, p.id), ec);
            sendJson(res, {{"ok", true}});
        });
    });
    svr.Get(kProject + "/members", [&](const httplib::Request& req, httplib::Response& res) {
        withProject(s, req, res, [&](long long uid, const ProjectRef& p) {
            sendJson(res, {{"members", membersJson(s, uid, p.id)}});
        });
    });
    svr.Delete(kProject + R"(/members/([A-Za-z0-9_-]+))", [&](const httplib::Request& req, httplib::Response& res) {
        withProject(s, req, res, [&](long long uid, const ProjectRef& p) {
            const std::string memberId = req.matches[2];
            if (s.db->query("SELECT id FROM project_members WHERE id = ? AND project_id = ?", {memberId, p.id}).empty())
                return sendError(res, 404, "Member not found");
            s.db->transaction([&] {
                s.db->execute("DELETE FROM project_members WHERE id = ?", {memberId});
                logProjectEvent(s, p.id, "member_removed", "You", "Removed a member");
            });
            sendJson(res, {{"members", membersJson(s, uid, p.id)}});
        });
    });
    addProjectFileRoutes(svr, s);
    addProjectBoardRoutes(svr, s);
}

} // namespace service
