#include "cli/CliWorkers.h"

#include "workers/service/WorkflowRunsService.h"
#include "workers/viewmodel/WorkerBuilderModel.h"

namespace halvex::cli {

namespace {

constexpr qint64 runPollMs = 1'000;

QString stepDetail(const WorkerStepDraft& s)
{
    if (s.type == u"browse")
        return s.url;
    if (s.type == u"tool")
        return s.toolId + QLatin1Char(' ') + s.argsJSON;
    return s.prompt.simplified().left(100);
}

void printSteps(const CliContext& c, const WorkerBuilderModel& builder)
{
    if (c.out.isJSON()) {
        JSONArray steps;
        for (const WorkerStepDraft& s : builder.steps())
            steps.append(s.toJSON());
        c.out.object({{QStringLiteral("name"), builder.name()}, {QStringLiteral("steps"), steps}});
        return;
    }
    c.out.line(builder.name());
    int n = 0;
    for (const WorkerStepDraft& s : builder.steps())
        c.out.line(QStringLiteral("  %1. [%2] %3 — %4").arg(++n).arg(s.type, s.name, stepDetail(s)));
}

QString runLine(const WorkflowRun& r)
{
    QStringList parts{r.id, r.status.value_or(QStringLiteral("?")), r.triggerType.value_or(QString()),
                      r.startedAt.value_or(r.createdAt.value_or(QString()))};
    if (r.errorMessage && !r.errorMessage->isEmpty())
        parts << *r.errorMessage;
    return parts.join(QStringLiteral("  "));
}

JSONObject runJSON(const WorkflowRun& r)
{
    JSONObject o{{QStringLiteral("id"), r.id}, {QStringLiteral("status"), r.status.value_or(QString())}};
    if (r.triggerType)
        o.insert(QStringLiteral("trigger_type"), *r.triggerType);
    if (r.startedAt)
        o.insert(QStringLiteral("started_at"), *r.startedAt);
    if (r.errorMessage)
        o.insert(QStringLiteral("error_message"), *r.errorMessage);
    if (r.result)
        o.insert(QStringLiteral("result"), *r.result);
    return o;
}

} // namespace

QCoro::Task<int> buildWorker(CliContext& c, QString description)
{
    WorkerBuilderModel builder(c.api, c.clock);
    bool lostSession = false;
    QObject::connect(&builder, &WorkerBuilderModel::unauthorized, [&] { lostSession = true; });
    builder.promptDraft = description;
    co_await builder.startBuild();
    if (lostSession) {
        c.out.error(QStringLiteral("not signed in"));
        co_return signedOut;
    }
    if (builder.stage() != WorkerBuilderStage::review) {
        c.out.error(builder.error().value_or(QStringLiteral("Could not draft the worker.")));
        co_return builder.error() == QStringLiteral("Describe the worker in at least 10 characters.") ? usage : failed;
    }
    printSteps(c, builder);
    if (!c.options.yes) {
        if (!c.out.isJSON())
            c.out.line(QStringLiteral("Run again with --yes to create this worker."));
        co_return ok;
    }
    QString createdId, message;
    QObject::connect(&builder, &WorkerBuilderModel::finished, [&](const QString& id, const QString& text) {
        createdId = id;
        message = text;
    });
    QObject::connect(&builder, &WorkerBuilderModel::changed, [&] {
        if (builder.stage() == WorkerBuilderStage::committing && !c.out.isJSON())
            c.out.line(QStringLiteral("… ") + builder.commitLabel());
    });
    co_await builder.commit();
    if (createdId.isEmpty()) {
        c.out.error(builder.error().value_or(QStringLiteral("Could not create the worker.")));
        co_return failed;
    }
    if (c.out.isJSON())
        c.out.object({{QStringLiteral("id"), createdId}, {QStringLiteral("message"), message}});
    else
        c.out.line(message + QStringLiteral(" (") + createdId + QLatin1Char(')'));
    co_return ok;
}

QCoro::Task<int> runWorker(CliContext& c, QString workerId)
{
    WorkflowRunsService runs(c.api);
    std::optional<QString> runId;
    try {
        runId = co_await runs.start(workerId);
    } catch (...) {
        co_return failWith(c, std::current_exception());
    }
    if (!runId) {
        c.out.error(QStringLiteral("The service started the run but named no run id."));
        co_return failed;
    }
    if (!c.out.isJSON())
        c.out.line(QStringLiteral("Started run ") + *runId);
    if (!c.options.wait) {
        if (c.out.isJSON())
            c.out.object({{QStringLiteral("id"), *runId}, {QStringLiteral("status"), QStringLiteral("running")}});
        co_return ok;
    }
    // Prints each step once it has a new status, then the result.
    QHash<int, QString> printed;
    const qint64 deadline = c.clock.monotonicMs() + c.turnTimeoutMs;
    const CancelToken never;
    while (true) {
        WorkflowRun run;
        try {
            run = co_await runs.run(*runId);
        } catch (...) {
            co_return failWith(c, std::current_exception());
        }
        for (int i = 0; i < run.steps.size(); ++i) {
            const WorkflowRunStep& s = run.steps[i];
            const QString status = s.status.value_or(QString());
            if (printed.value(i) == status || c.out.isJSON())
                continue;
            printed.insert(i, status);
            c.out.line(QStringLiteral("  [%1] %2%3")
                           .arg(status, s.name.value_or(QStringLiteral("Step %1").arg(i + 1)),
                                s.output && !s.output->isEmpty()
                                    ? QStringLiteral(" — ") + s.output->simplified().left(160)
                                    : QString()));
        }
        if (run.isFinished()) {
            if (c.out.isJSON())
                c.out.object(runJSON(run));
            else if (run.result && !run.result->isEmpty())
                c.out.line(*run.result);
            if (run.status != QStringLiteral("success") && run.status != QStringLiteral("completed")) {
                if (!c.out.isJSON())
                    c.out.error(QStringLiteral("Run ") + run.status.value_or(QString())
                                + (run.errorMessage ? QStringLiteral(": ") + *run.errorMessage : QString()));
                co_return failed;
            }
            co_return ok;
        }
        if (c.clock.monotonicMs() >= deadline) {
            c.out.error(QStringLiteral("The run is still going; follow it with `halvex-cli runs ") + workerId
                        + QStringLiteral("`."));
            co_return failed;
        }
        co_await c.clock.sleep(runPollMs, never);
    }
}

QCoro::Task<int> listRuns(CliContext& c, QString workerId)
{
    WorkflowRunsService runs(c.api);
    QList<WorkflowRun> list;
    try {
        list = co_await runs.list(workerId, 20);
    } catch (...) {
        co_return failWith(c, std::current_exception());
    }
    if (list.isEmpty() && !c.out.isJSON())
        c.out.line(QStringLiteral("No runs yet."));
    for (const WorkflowRun& r : std::as_const(list)) {
        if (c.out.isJSON())
            c.out.object(runJSON(r));
        else
            c.out.line(runLine(r));
    }
    co_return ok;
}

} // namespace halvex::cli
