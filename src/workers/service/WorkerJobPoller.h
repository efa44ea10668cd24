#pragma once
// Following a worker draft job: a read every 2.5 seconds, at most 480 reads (about 20 minutes).
// A read that fails is retried within the same limit.
#include "core/async/Clock.h"
#include "workers/model/WorkerStepDraft.h"
#include "workers/service/WorkerBuildService.h"

#include <functional>

namespace halvex {

namespace WorkerJobPoller {

inline constexpr qint64 intervalMs = 2'500;
inline constexpr int readLimit = 480;

// The job's result. Ends with the cancellation when `token` is cancelled or `stillCurrent`
// turns false before a read (a newer build took over); throws WorkerBuilderError when the job
// fails or never finishes.
QCoro::Task<JSONObject> waitForJob(WorkerBuildService& service, Clock& clock, QString jobId,
                                   std::function<bool()> stillCurrent, CancelToken token);

} // namespace WorkerJobPoller

} // namespace halvex
