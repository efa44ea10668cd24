#pragma once
// The drafts a generation job answers with: clarify questions on a first round, then a ready
// employee (or worker) draft, or a ready team draft. Same request, same draft.
#include "generation/Brief.h"

#include <nlohmann/json.hpp>

namespace service::generation {

struct DraftRequest {
    Brief brief;
    bool team = false;
    bool worker = false; // agent type "worker": a schedule and a playbook
    long long round = 1;
    bool forceReady = false;
    nlohmann::json clarifications = nlohmann::json::array(); // {"key", "question", "answer"} objects
};

nlohmann::json buildDraft(const DraftRequest& request);

// Parts shared by the solo and the team builder.
std::string answerTo(const DraftRequest& request, const char* key);
std::string toneLine(const DraftRequest& request);
nlohmann::json skillsJson(const Domain& d);
nlohmann::json stringList(const std::vector<const char*>& items);
nlohmann::json buildTeamDraft(const DraftRequest& request);
// How often a worker runs, in minutes: its cadence answer, else its brief, else daily.
int intervalFor(const DraftRequest& request);
// A worker the brief asks to run only when told ("manual", "on demand").
bool runsOnDemand(const DraftRequest& request);
// A worker draft's own parts: its name, its playbook and its trigger.
void addWorkerParts(nlohmann::json& draft, const DraftRequest& request);
// A short title out of the brief: "Send me a weekly pricing digest of rivals" -> "Weekly pricing digest".
std::string workerTitle(const Brief& brief);

} // namespace service::generation
