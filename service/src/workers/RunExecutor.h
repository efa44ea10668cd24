#pragma once
// Plays one stored run on its own thread: each step shown in the worker's chat running, then
// done or failed, each taking the service's step time on the service clock; the result goes to
// the worker's chat and, when the run names one, the delivery employee's chat.
#include "workers/WorkerRuntime.h"

namespace service {

void executeRun(Service& s, WorkerRuntime& runtime, WorkerRuntime::Live& live);
// A queued run that will never start, because the service is stopping, ends as an error.
void abandonRun(Service& s, const std::string& runId);

} // namespace service
