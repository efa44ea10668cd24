#include "create/service/GenerationPoller.h"

namespace halvex {

std::optional<QString> GenerationPollCounter::afterUnfinished()
{
    if (++m_attempts >= attemptLimit)
        return QStringLiteral("Generation timed out — please try again.");
    return std::nullopt;
}

std::optional<QString> GenerationPollCounter::afterError(const APIError& error)
{
    if (error.kind() == APIError::Kind::server && error.status() == 404) {
        if (++m_notFound >= notFoundLimit)
            return QStringLiteral("Generation session was lost — please try again.");
        return std::nullopt;
    }
    return afterUnfinished();
}

QString GenerationPollCounter::failedText(const std::optional<QString>& serviceMessage)
{
    return serviceMessage && !serviceMessage->isEmpty() ? *serviceMessage
                                                        : QStringLiteral("Generation failed — try again.");
}

namespace GenerationPoller {

namespace {

// One loop for both kinds of job; `read` is the service call for the job's kind.
template <typename Job, typename Read>
QCoro::Task<decltype(Job::result)> follow(Clock& clock, Read read, CancelToken token)
{
    GenerationPollCounter counter;
    while (true) {
        co_await clock.sleep(GenerationPollCounter::intervalMs, token);
        std::optional<QString> failure;
        try {
            QCoro::Task<Job> pending = read();
            const Job job = co_await std::move(pending);
            if (job.status == u"completed")
                co_return job.result;
            if (job.status == u"failed" || job.status == u"aborted")
                failure = GenerationPollCounter::failedText(job.error);
            else
                failure = counter.afterUnfinished();
        } catch (const APIError& error) {
            if (isCancellation(error))
                throw;
            failure = counter.afterError(error);
        }
        if (failure)
            throw GenerationPollFailure(*failure);
    }
}

} // namespace

QCoro::Task<std::optional<AgentDraft>> agentDraft(CreateAgentService& service, Clock& clock, QString jobId,
                                                  CancelToken token)
{
    auto read = [&service, jobId, token] { return service.job(jobId, token); };
    QCoro::Task<std::optional<AgentDraft>> polling = follow<GenerateJob>(clock, read, token);
    co_return co_await std::move(polling);
}

QCoro::Task<std::optional<TeamDraft>> teamDraft(CreateAgentService& service, Clock& clock, QString jobId,
                                                CancelToken token)
{
    auto read = [&service, jobId, token] { return service.teamJob(jobId, token); };
    QCoro::Task<std::optional<TeamDraft>> polling = follow<TeamGenerateJob>(clock, read, token);
    co_return co_await std::move(polling);
}

} // namespace GenerationPoller

} // namespace halvex
