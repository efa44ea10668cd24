#include "cli/CliProjects.h"

#include "cli/CredentialPrompt.h"
#include "core/json/JsonWrite.h"
#include "projects/model/ProjectIntakeRules.h"
#include "projects/service/ProjectService.h"
#include "projects/viewmodel/ProjectIntakeModel.h"

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

namespace {

// The --answer given for a question, by its key.
std::optional<QString> givenAnswer(const QStringList& answers, const QString& key)
{
    for (const QString& entry : answers) {
        const qsizetype eq = entry.indexOf(QLatin1Char('='));
        if (eq > 0 && entry.left(eq).trimmed() == key)
            return entry.mid(eq + 1).trimmed();
    }
    return std::nullopt;
}

// An option's number or its text picks it; anything else is the user's own answer.
void fileAnswer(ProjectIntakeModel& intake, const ProjectIntakeQuestion& q, const QString& text)
{
    bool number = false;
    const int index = text.toInt(&number) - 1;
    if (number && index >= 0 && index < q.options.size())
        intake.choose(q.key, q.options[index]);
    else if (const auto it = std::find_if(q.options.cbegin(), q.options.cend(),
                                          [&](const QString& o) { return o.compare(text, Qt::CaseInsensitive) == 0; });
             it != q.options.cend())
        intake.choose(q.key, *it);
    else
        intake.type(q.key, text);
}

// This page's questions: from --answer, else asked at the prompt (not with --json).
void answerPage(CliContext& c, ProjectIntakeModel& intake)
{
    for (const ProjectIntakeQuestion& q : intake.currentPage()) {
        if (const auto given = givenAnswer(c.options.answers, q.key)) {
            fileAnswer(intake, q, *given);
            continue;
        }
        if (c.out.isJSON())
            continue;
        c.out.line(q.question + QStringLiteral(" [") + q.key + QLatin1Char(']'));
        if (q.hint)
            c.out.line(QStringLiteral("  ") + *q.hint);
        for (qsizetype i = 0; i < q.options.size(); ++i)
            c.out.line(QStringLiteral("  %1. ").arg(i + 1) + q.options[i]);
        c.out.line(QStringLiteral("  Or type your answer."));
        if (const auto typed = promptLine("> "); typed && !typed->trimmed().isEmpty())
            fileAnswer(intake, q, typed->trimmed());
    }
}

void printProfile(CliContext& c, const ProjectIntakeModel& intake)
{
    const ProjectOverview overview = intake.overview().value_or(ProjectOverview{});
    if (c.out.isJSON()) {
        c.out.object({{QStringLiteral("step"), QStringLiteral("review")},
                      {QStringLiteral("label"), intake.label().trimmed()},
                      {QStringLiteral("address"), ProjectIntakeRules::addressPreview(intake.label())},
                      {QStringLiteral("overview"), overview.wire()},
                      {QStringLiteral("needs_input"), toJSON(intake.needsInput())}});
        return;
    }
    c.out.line(intake.label().trimmed() + QStringLiteral(" — ") + ProjectIntakeRules::addressPreview(intake.label()));
    for (const QString& key : ProjectOverview::fieldKeys()) {
        const bool open = intake.needsInput().contains(key);
        c.out.line(QStringLiteral("\n") + ProjectIntakeRules::fieldTitle(key)
                   + (open ? QStringLiteral(" (Needs your input)") : QString()));
        const QString text = overview.field(key).trimmed();
        c.out.line(text.isEmpty() ? QStringLiteral("  —") : QStringLiteral("  ") + text);
    }
}

} // namespace

QCoro::Task<int> newProject(CliContext& c)
{
    if (const auto refused = ProjectIntakeRules::validateName(c.options.name)) {
        c.out.error(*refused + QStringLiteral(" (--name)"));
        co_return usage;
    }
    ProjectIntakeModel intake(c.api, c.clock, nullptr, nullptr);
    bool lost = false;
    QObject::connect(&intake, &ProjectIntakeModel::unauthorized, [&lost] { lost = true; });
    intake.setLabel(c.options.name);
    intake.setWebsite(c.options.website);
    intake.setDescription(c.options.description);
    if (c.options.manual)
        intake.fillManually();
    else
        co_await intake.analyse();
    while (intake.step() == ProjectIntakeStep::questions && !lost) {
        answerPage(c, intake);
        co_await intake.advanceQuestions();
        if (intake.step() == ProjectIntakeStep::questions && intake.error()) {
            QStringList open;
            for (const ProjectIntakeQuestion& q : intake.currentPage())
                if (intake.answer(q.key).isEmpty())
                    open << q.key;
            c.out.error(*intake.error() + QStringLiteral(" Unanswered: ") + open.join(QStringLiteral(", "))
                        + QStringLiteral(" (--answer key=value)."));
            co_return usage;
        }
    }
    if (lost) {
        c.out.error(QStringLiteral("not signed in"));
        co_return signedOut;
    }
    if (intake.step() != ProjectIntakeStep::review) {
        c.out.error(intake.error().value_or(QStringLiteral("Could not prepare the project profile.")));
        co_return failed;
    }
    printProfile(c, intake);
    if (!c.options.yes) {
        if (!c.out.isJSON())
            c.out.line(QStringLiteral("\nNothing is created yet. Run again with --yes to create the project."));
        co_return ok;
    }
    co_await intake.create();
    if (intake.step() != ProjectIntakeStep::people || !intake.created()) {
        c.out.error(intake.error().value_or(QStringLiteral("Could not create the project.")));
        co_return lost ? signedOut : failed;
    }
    const QString slug = intake.created()->slug;
    if (c.out.isJSON()) {
        c.out.object({{QStringLiteral("step"), QStringLiteral("done")},
                      {QStringLiteral("slug"), slug},
                      {QStringLiteral("warnings"), toJSON(intake.warnings())}});
        co_return ok;
    }
    c.out.line(QStringLiteral("\nCreated: ") + slug);
    if (!intake.warnings().isEmpty())
        c.out.line(QStringLiteral("The project was created, but some materials did not land: ")
                   + intake.warnings().join(QLatin1Char(' ')));
    co_return ok;
}

} // namespace halvex::cli
