#include "generation/GenerationJobs.h"

#include "core/Http.h"
#include "google/ServiceClock.h"

namespace service::generation {

using nlohmann::json;

namespace {

const char* const kOutcomeNames[] = {"draft",        "fail_loudly", "fail_quietly", "aborted", "lost_for_good",
                                     "lost_briefly", "stalled",     "empty_result", "garbled", "cancelled"};

Outcome outcomeNamed(const std::string& name)
{
    for (size_t i = 0; i < std::size(kOutcomeNames); ++i)
        if (name == kOutcomeNames[i])
            return Outcome(i);
    return Outcome::draft;
}

json finished(Outcome outcome, const json& result)
{
    switch (outcome) {
    case Outcome::failLoudly:
        return {{"status", "failed"},
                {"error",
                 "The builder couldn't turn this brief into a role — say what the job is and what it should deliver."}};
    case Outcome::failQuietly:
        return {{"status", "failed"}};
    case Outcome::aborted:
        return {{"status", "aborted"}, {"error", "Generation was stopped before the draft was finished."}};
    case Outcome::cancelled:
        return {{"status", "aborted"}, {"error", "Generation was cancelled."}};
    case Outcome::emptyResult:
        return {{"status", "completed"}};
    case Outcome::garbled:
        return {
            {"status", "completed"},
            {"result",
             {{"mode", "unusable"}, {"error", "The draft came back incomplete — rephrase the brief and try again."}}}};
    default:
        return {{"status", "completed"}, {"result", result}};
    }
}

} // namespace

void saveJob(Service& s, long long uid, const std::string& id, const std::string& kind, Outcome outcome,
             const json& result)
{
    if (outcome == Outcome::lostForGood)
        return;
    s.db->transaction([&] {
        s.db->execute(
            "INSERT OR REPLACE INTO generation_jobs (user_id, id, kind, outcome, polls, started_at, result, "
            "created_at) "
            "VALUES (?, ?, ?, ?, 0, ?, ?, ?)",
            {uid, id, kind, std::string(kOutcomeNames[size_t(outcome)]), serviceNow(s), result.dump(), nowIso()});
        s.db->execute("DELETE FROM generation_jobs WHERE user_id = ? AND rowid NOT IN "
                      "(SELECT rowid FROM generation_jobs WHERE user_id = ? ORDER BY rowid DESC LIMIT ?)",
                      {uid, uid, kKeptJobs});
    });
}

std::optional<json> pollJob(Service& s, long long uid, const std::string& id)
{
    std::optional<json> answer;
    s.db->transaction([&] {
        const auto rows = s.db->query(
            "SELECT outcome, polls, started_at, result FROM generation_jobs WHERE user_id = ? AND id = ?", {uid, id});
        if (rows.empty())
            return;
        const Outcome outcome = outcomeNamed(text(rows[0][0]));
        const long long polls = integer(rows[0][1]) + 1;
        s.db->execute("UPDATE generation_jobs SET polls = ? WHERE user_id = ? AND id = ?", {polls, uid, id});
        if (outcome == Outcome::cancelled) {
            answer = finished(outcome, json(nullptr));
            return;
        }
        const long long lost = outcome == Outcome::lostBriefly ? kLostPolls : 0;
        if (polls <= lost)
            return;
        const bool due = polls - lost > kPendingPolls || serviceNow(s) - integer(rows[0][2]) >= kDueAfterSeconds;
        if (!due || outcome == Outcome::stalled) {
            answer = json{{"status", "pending"}, {"job_id", id}};
            return;
        }
        json result = json::parse(text(rows[0][3]), nullptr, false);
        answer = finished(outcome, result.is_discarded() ? json(nullptr) : result);
    });
    return answer;
}

bool abortJob(Service& s, long long uid, const std::string& id)
{
    bool found = false;
    s.db->transaction([&] {
        found = !s.db->query("SELECT 1 FROM generation_jobs WHERE user_id = ? AND id = ?", {uid, id}).empty();
        if (found)
            s.db->execute("UPDATE generation_jobs SET outcome = ? WHERE user_id = ? AND id = ?",
                          {std::string(kOutcomeNames[size_t(Outcome::cancelled)]), uid, id});
    });
    return found;
}

json pendingAnswer(const std::string& id)
{
    return {{"mode", "pending"}, {"status", "pending"}, {"generation_session_id", id}, {"job_id", id}};
}

} // namespace service::generation
