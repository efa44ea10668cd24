#pragma once
// Generation jobs as rows. A job is decided when it starts (its draft or its failure); polling
// only reveals it once the job is due: on its third poll, or once the service clock has moved
// ten seconds past its start, whichever comes first.
#include "core/Service.h"
#include "generation/Brief.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace service::generation {

inline constexpr long long kPendingPolls = 2; // polls that answer "pending" before the job is due
inline constexpr long long kDueAfterSeconds = 10;
inline constexpr long long kLostPolls = 3; // polls a briefly lost job answers 404
inline constexpr long long kKeptJobs = 50; // per user; older jobs are dropped

// Stores (or restarts) the job; a job lost for good is never stored.
void saveJob(Service& s, long long uid, const std::string& id, const std::string& kind, Outcome outcome,
             const nlohmann::json& result);
// The job record the app polls ({"status", "result"?, "error"?}), or nothing: answer 404.
std::optional<nlohmann::json> pollJob(Service& s, long long uid, const std::string& id);

// Stops the job: every later poll answers it aborted. False when there is no such job.
bool abortJob(Service& s, long long uid, const std::string& id);
// What a start answers while its job is pending; "job_id" is the id to poll.
nlohmann::json pendingAnswer(const std::string& id);

} // namespace service::generation
