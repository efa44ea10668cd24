#pragma once
// Workflow runs, the shared workflow marketplace and the launcher's rows, as the service
// answers them.
#include "core/json/JsonReader.h"

namespace halvex {

struct WorkflowRunStep {
    std::optional<QString> name;
    std::optional<QString> type;
    std::optional<QString> status;
    std::optional<QString> output;
    static WorkflowRunStep decode(const JsonReader& json);
};

struct WorkflowRun {
    QString id;
    std::optional<QString> customAgentId;
    std::optional<QString> status;
    std::optional<QString> triggerType;
    std::optional<QString> startedAt;
    std::optional<QString> finishedAt;
    std::optional<QString> createdAt;
    std::optional<QString> errorMessage;
    // Not every service sends these; the terminal client prints them when present.
    QList<WorkflowRunStep> steps;
    std::optional<QString> result;

    static WorkflowRun decode(const JsonReader& json);
    bool isFinished() const;
};

// "success", "error", "cancelled", "canceled", "completed", "done", "succeeded", "failed".
bool isTerminalRunStatus(const QString& status);

struct WorkflowMarketplaceItem {
    QString id;
    QString name;
    std::optional<QString> description;
    std::optional<QString> role;
    std::optional<QString> creatorFullName;
    std::optional<QString> creatorHandle;
    std::optional<QString> installedAgentId;
    bool owned = false;
    int installsCount = 0;
    int playbookStepsCount = 0;
    int toolsCount = 0;

    static WorkflowMarketplaceItem decode(const JsonReader& json);
};

struct WorkflowMarketplacePage {
    QList<WorkflowMarketplaceItem> workflows;
    std::optional<QString> nextCursor;
    static WorkflowMarketplacePage decode(const JsonReader& json);
};

struct WorkflowLaunchStatus {
    enum class Phase { starting, accepted, failed };
    QString workerId;
    QString workerName;
    Phase phase = Phase::starting;
    QString message; // failed only

    QString title() const;
};

struct WorkerLauncherRow {
    QString id;
    QString name;
    QString meta;
    QString initial;
};

} // namespace halvex
