#include "workers/model/WorkflowRecords.h"

namespace halvex {

WorkflowRunStep WorkflowRunStep::decode(const JsonReader& json)
{
    return {json.lenient<QString>("name"), json.lenient<QString>("type"), json.lenient<QString>("status"),
            json.lenient<QString>("output")};
}

WorkflowRun WorkflowRun::decode(const JsonReader& json)
{
    WorkflowRun r;
    r.id = json.required<QString>("id");
    r.customAgentId = json.lenient<QString>("custom_agent_id");
    r.status = json.lenient<QString>("status");
    r.triggerType = json.lenient<QString>("trigger_type");
    r.startedAt = json.lenient<QString>("started_at");
    r.finishedAt = json.lenient<QString>("finished_at");
    r.createdAt = json.lenient<QString>("created_at");
    r.errorMessage = json.lenient<QString>("error_message");
    r.steps = json.lenient<QList<WorkflowRunStep>>("steps").value_or(QList<WorkflowRunStep>());
    r.result = json.lenient<QString>("result");
    return r;
}

bool WorkflowRun::isFinished() const { return status && isTerminalRunStatus(*status); }

bool isTerminalRunStatus(const QString& status)
{
    static const QStringList terminal{
        QStringLiteral("success"),   QStringLiteral("error"), QStringLiteral("cancelled"), QStringLiteral("canceled"),
        QStringLiteral("completed"), QStringLiteral("done"),  QStringLiteral("succeeded"), QStringLiteral("failed")};
    return terminal.contains(status);
}

WorkflowMarketplaceItem WorkflowMarketplaceItem::decode(const JsonReader& json)
{
    WorkflowMarketplaceItem i;
    i.id = json.required<QString>("id");
    i.name = json.lenient<QString>("name").value_or(QString());
    i.description = json.lenient<QString>("description");
    i.role = json.lenient<QString>("role");
    i.creatorFullName = json.lenient<QString>("creator_full_name");
    i.creatorHandle = json.lenient<QString>("creator_handle");
    i.installedAgentId = json.lenient<QString>("installed_agent_id");
    i.owned = json.lenient<bool>("owned").value_or(false);
    i.installsCount = int(json.lenient<double>("installs_count").value_or(0));
    i.playbookStepsCount = int(json.lenient<double>("playbook_steps_count").value_or(0));
    i.toolsCount = int(json.lenient<double>("tools_count").value_or(0));
    return i;
}

WorkflowMarketplacePage WorkflowMarketplacePage::decode(const JsonReader& json)
{
    return {json.optional<QList<WorkflowMarketplaceItem>>("workflows").value_or(QList<WorkflowMarketplaceItem>()),
            json.lenient<QString>("next_cursor")};
}

QString WorkflowLaunchStatus::title() const
{
    switch (phase) {
    case Phase::starting:
        return QStringLiteral("Starting ") + workerName + QStringLiteral("…");
    case Phase::accepted:
        return workerName + QStringLiteral(" is running");
    case Phase::failed:
        break;
    }
    return QStringLiteral("Couldn’t start ") + workerName;
}

} // namespace halvex
