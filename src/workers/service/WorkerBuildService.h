#pragma once
// The service calls of the worker builder: drafting and revising (answered at once or through
// a job), following and aborting jobs, saving, the dry-run check and scheduling. Stateless.
#include "core/async/CancelToken.h"
#include "core/net/APIClient.h"

#include <qcorotask.h>

namespace halvex {

// A draft answer: the draft itself ("mode" "ready"), or the job that will produce it.
struct WorkerDraftAnswer {
    std::optional<JSONObject> draft;
    QString jobId;
};

struct WorkerJob {
    QString status;
    std::optional<JSONObject> result;
    std::optional<QString> error;
};

struct DryRunResult {
    bool passed = false;
    std::optional<QString> error;
};

class WorkerBuildService {
public:
    explicit WorkerBuildService(APIClient& api) : m_api(&api) {}

    QCoro::Task<WorkerDraftAnswer> draft(QString description, CancelToken token = {});
    QCoro::Task<WorkerDraftAnswer> revise(JSONObject currentDraft, QString instruction, std::optional<QString> agentId,
                                          CancelToken token = {});
    QCoro::Task<WorkerJob> job(QString jobId, CancelToken token = {});
    QCoro::Task<void> abort(QString jobId, CancelToken token = {});

    // The new worker's id, read from the answer's "agent" object or "id"; empty when neither.
    QCoro::Task<QString> create(JSONObject payload, CancelToken token = {});
    QCoro::Task<DryRunResult> dryRun(QString workerId, CancelToken token = {});
    QCoro::Task<void> deploy(QString workerId, QString triggerType, CancelToken token = {});
    QCoro::Task<void> remove(QString workerId, CancelToken token = {});

    // The id an answer names: its "agent" object's "id", else its own "id".
    static QString idOf(const JSONValue& answer);

private:
    QCoro::Task<WorkerDraftAnswer> startJob(QString path, JSONObject body, CancelToken token);

    APIClient* m_api;
};

} // namespace halvex
