#pragma once
// Goals of an employee, a team or a project ("agent:<id>" / "team:<slug>" / "project:<id>"
// scopes) and the review of a delivered run. One JSON record per goal, in the answer's own shape.
#include "core/Database.h"
#include "core/Http.h"

#include <optional>
#include <string>

namespace service {

struct GoalRun {
    std::string goalId;
    std::string runId;
};

json listGoals(Database& db, long long uid, const std::string& scope, int limit);
// A project's goals live beside the chats' under a scope of their own.
inline std::string projectGoalScope(const std::string& projectId) { return "project:" + projectId; }
// A new active goal from the given fields (objective, target, unit …); answers the record.
json createGoal(Database& db, long long uid, const std::string& scope, const json& fields);
// A goal started from a chat turn: running now, its result waits for review afterwards.
GoalRun startGoalRun(Database& db, long long uid, const std::string& scope, const std::string& objective);
void awaitReview(Database& db, const GoalRun& run);

struct ReviewOutcome {
    int status = 200;
    std::string error; // set when status is not 200
    json goal;
};
ReviewOutcome reviewRun(Database& db, long long uid, const std::string& scope, const GoalRun& run,
                        const std::string& decision, const std::string& feedback,
                        std::optional<long long> expectedVersion);

} // namespace service
