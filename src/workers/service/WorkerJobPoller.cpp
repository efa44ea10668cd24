#include "workers/service/WorkerJobPoller.h"

namespace halvex {

namespace WorkerJobPoller {

QCoro::Task<JSONObject> waitForJob(WorkerBuildService& service, Clock& clock, QString jobId,
                                   std::function<bool()> stillCurrent, CancelToken token)
{
    for (int read = 0; read < readLimit; ++read) {
        co_await clock.sleep(intervalMs, token);
        if (token.isCancelled() || !stillCurrent())
            throw APIError::cancelled();
        std::optional<WorkerJob> job;
        try {
            QCoro::Task<WorkerJob> pending = service.job(jobId, token);
            job = co_await std::move(pending);
        } catch (const APIError& error) {
            if (isCancellation(error))
                throw;
            continue; // a failed read counts towards the limit and is tried again
        }
        if (job->status == u"completed") {
            if (!job->result)
                throw WorkerBuilderError(QStringLiteral("Worker generation failed."));
            co_return *job->result;
        }
        if (job->status == u"failed" || job->status == u"aborted")
            throw WorkerBuilderError(
                job->error && !job->error->isEmpty() ? *job->error : QStringLiteral("Worker generation failed."));
    }
    throw WorkerBuilderError(QStringLiteral("Worker generation is taking too long. Try again."));
}

} // namespace WorkerJobPoller

} // namespace halvex
