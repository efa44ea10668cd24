#pragma once
// Following a generation job until it ends: a read every 5 seconds, at most 240 unfinished
// reads (about 20 minutes), and a job that the service lost five times (404) given up on.
#include "core/APIError.h"
#include "core/async/Clock.h"
#include "create/service/CreateAgentService.h"

#include <exception>

namespace halvex {

// The job failed, timed out or was lost; `message` is the one text to show.
class GenerationPollFailure : public std::exception {
public:
    explicit GenerationPollFailure(QString message) : m_message(std::move(message)) {}
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return "generation poll failed"; }

private:
    QString m_message;
};

// The counting of the poll loop, apart from its waiting: each outcome either lets the loop go
// on (nothing) or ends it with the message to show.
class GenerationPollCounter {
public:
    static constexpr qint64 intervalMs = 5'000;
    static constexpr int attemptLimit = 240;
    static constexpr int notFoundLimit = 5;

    std::optional<QString> afterUnfinished();
    // Every request error counts; a 404 counts towards the lost session too, never reset.
    std::optional<QString> afterError(const APIError& error);
    static QString failedText(const std::optional<QString>& serviceMessage);

private:
    int m_attempts = 0;
    int m_notFound = 0;
};

namespace GenerationPoller {

// The finished draft (absent when the service sent none). Throws GenerationPollFailure, or the
// cancellation when `token` is cancelled, or any other error unchanged.
QCoro::Task<std::optional<AgentDraft>> agentDraft(CreateAgentService& service, Clock& clock, QString jobId,
                                                  CancelToken token);
QCoro::Task<std::optional<TeamDraft>> teamDraft(CreateAgentService& service, Clock& clock, QString jobId,
                                                CancelToken token);

} // namespace GenerationPoller

} // namespace halvex
