#pragma once
// Schedules of deployed workers, on the service clock: a deployed schedule runs every interval
// from its deployment. A due worker that is paused or still running skips that turn; a clock
// that jumps past several turns starts one run, not a burst.
#include "core/Service.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace service::workers {

inline constexpr long long kDefaultIntervalMinutes = 1440;

// The worker's interval: its trigger's "intervalMinutes", else "schedule_interval_minutes", else a day.
long long intervalOf(const nlohmann::json& agent);
// Stores (or restarts) the worker's schedule; answers when it runs next, in service-clock seconds.
long long scheduleWorker(Service& s, long long uid, const std::string& agentId, long long intervalMinutes);
void unscheduleWorker(Service& s, const std::string& agentId);
// Queues a run of every worker whose time came and moves its time on; answers the queued runs
// as (run id, worker id), for the runtime to start.
std::vector<std::pair<std::string, std::string>> startDueRuns(Service& s);

} // namespace service::workers
