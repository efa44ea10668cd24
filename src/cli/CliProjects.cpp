#include "cli/CliProjects.h"

#include "projects/service/ProjectService.h"

namespace halvex::cli {

QCoro::Task<int> listProjects(CliContext& c)
{
    ProjectListResponse answer;
    try {
        const QString path = QStringLiteral("api/v2/projects");
        const QueryItems none;
        answer = co_await c.api.get<ProjectListResponse>(path, none);
    } catch (...) {
        co_return failWith(c, std::current_exception());
    }
    if (answer.projects.isEmpty() && !c.out.isJSON())
        c.out.line(QStringLiteral("No projects yet."));
    for (const Project& p : std::as_const(answer.projects)) {
        if (c.out.isJSON())
            c.out.object(p.encode());
        else
            c.out.line(p.slug + QStringLiteral("  ") + p.label + QStringLiteral("  (") + p.status + QStringLiteral(", ")
                       + QString::number(p.membersCount.value_or(0)) + QStringLiteral(" members)"));
    }
    co_return ok;
}

QCoro::Task<int> showProject(CliContext& c, QString slug)
{
    ProjectService service(c.api);
    ProjectDetailResponse detail;
    QList<ProjectFile> files;
    QList<ProjectTask> tasks;
    try {
        detail = co_await service.detail(slug);
        files = co_await service.files(slug);
        tasks = co_await service.tasks(slug);
    } catch (...) {
        co_return failWith(c, std::current_exception());
    }
    const Project& p = detail.project;
    if (c.out.isJSON()) {
        JSONArray members, fileList, taskList;
        for (const ProjectMember& m : std::as_const(detail.members))
            members.append(m.encode());
        for (const ProjectFile& f : std::as_const(files))
            fileList.append(JSONObject{{QStringLiteral("id"), f.id},
                                       {QStringLiteral("name"), f.name},
                                       {QStringLiteral("url"), f.url}});
        for (const ProjectTask& t : std::as_const(tasks))
            taskList.append(JSONObject{{QStringLiteral("id"), t.id},
                                       {QStringLiteral("text"), t.text},
                                       {QStringLiteral("status"), t.status}});
        c.out.object({{QStringLiteral("project"), p.encode()},
                      {QStringLiteral("members"), members},
                      {QStringLiteral("files"), fileList},
                      {QStringLiteral("tasks"), taskList}});
        co_return ok;
    }
    c.out.line(p.label + QStringLiteral(" (") + p.slug + QStringLiteral(", ") + p.status + QLatin1Char(')'));
    if (!p.brief.isEmpty())
        c.out.line(QStringLiteral("\n") + p.brief + QLatin1Char('\n'));
    c.out.line(QStringLiteral("Members:"));
    for (const ProjectMember& m : std::as_const(detail.members))
        c.out.line(QStringLiteral("  ")
                   + (m.agent      ? m.agent->name
                          : m.team ? m.team->label + QStringLiteral(" (team)")
                                   : m.id)
                   + (m.stale.value_or(false) ? QStringLiteral(" — no longer available") : QString()));
    c.out.line(QStringLiteral("Files and links:"));
    for (const ProjectFile& f : std::as_const(files))
        c.out.line(QStringLiteral("  ") + (f.name.isEmpty() ? f.url : f.name));
    c.out.line(QStringLiteral("Tasks:"));
    for (const ProjectTask& t : std::as_const(tasks))
        c.out.line(QStringLiteral("  [") + t.status + QStringLiteral("] ") + t.text
                   + (t.assigneeLabel.isEmpty() ? QString() : QStringLiteral(" — ") + t.assigneeLabel));
    co_return ok;
}

} // namespace halvex::cli
