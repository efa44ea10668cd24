#pragma once
// Worker runs as rows: created queued, moved on by the executor, answered in the shape the
// app's run list reads. Every write is one statement, so the executor never holds the store.
#include "core/Service.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace service::workers {

inline constexpr long long kKeptRunsPerWorker = 100;

struct NewRun {
    long long userId = 0;
    std::string agentId;
    std::string triggerType; // "manual" or "schedule"
    std::optional<std::string> input;
    std::optional<std::string> deliveryAgentId;
    std::optional<std::string> conversationId;
    nlohmann::json steps = nlohmann::json::array(); // {"name","type","status":"pending","output":null}
};

// What the executor reads back of a queued run.
struct StoredRun {
    long long userId = 0;
    std::string agentId;
    std::string input;
    std::optional<std::string> deliveryAgentId;
};

// What the executor writes back as a run moves on.
struct RunProgress {
    std::string id;
    std::string status;
    nlohmann::json steps;
    std::optional<std::string> result;
    std::optional<std::string> error;
    std::optional<long long> openMessageId;
    std::optional<std::string> startedAt;
    std::optional<std::string> finishedAt;
};

// The pending step records of a playbook.
nlohmann::json plannedSteps(const nlohmann::json& playbook);
// Stores a queued run and answers its id; runs inside the caller's transaction. Older finished
// runs of the worker beyond the kept number are dropped.
std::string insertRun(Service& s, const NewRun& run);
// True while the worker has a queued or running run.
bool hasLiveRun(Service& s, const std::string& agentId);
std::optional<StoredRun> storedRun(Service& s, const std::string& runId);
// Moves a queued run to running; false when it is no longer queued (cancelled before it began).
bool claimRun(Service& s, const std::string& runId, const std::string& startedAt);
// Cancels a run no executor has taken yet; false when it is not queued.
bool cancelQueuedRun(Service& s, const std::string& runId);
void saveProgress(Service& s, const RunProgress& progress);
std::optional<nlohmann::json> findRun(Service& s, long long uid, const std::string& runId);
// Newest first; every run of the user's workers, or one worker's.
nlohmann::json listRuns(Service& s, long long uid, const std::optional<std::string>& agentId, long long limit);
// What a deleted agent leaves in the worker tables: its runs, its schedule, and the record that
// it was added from the workflow marketplace (so the workflow can be added again).
void forgetWorker(Service& s, const std::string& agentId);
// The steps of a run that stopped: the running one becomes `runningBecomes`, the rest "skipped".
nlohmann::json closedSteps(nlohmann::json steps, const std::string& runningBecomes);
// Runs a previous process left queued or running end as errors, their open step closed.
void closeInterruptedRuns(Service& s);

} // namespace service::workers
