#pragma once
// Starting, listing and cancelling workflow runs. Stateless.
#include "core/net/APIClient.h"
#include "workers/model/WorkflowRecords.h"

#include <qcorotask.h>

namespace halvex {

struct WorkflowLaunch {
    std::optional<QString> input;
    std::optional<QString> deliveryAgentId;
    std::optional<QString> conversationId;
};

class WorkflowRunsService {
public:
    explicit WorkflowRunsService(APIClient& api) : m_api(&api) {}

    QCoro::Task<QList<WorkflowRun>> list(QString agentId, int limit, CancelToken token = {});
    QCoro::Task<WorkflowRun> run(QString runId, CancelToken token = {});
    // The new run's id when the answer names one.
    QCoro::Task<std::optional<QString>> start(QString workerId, WorkflowLaunch launch = {}, CancelToken token = {});
    QCoro::Task<void> cancel(QString runId, CancelToken token = {});

private:
    APIClient* m_api;
};

} // namespace halvex
