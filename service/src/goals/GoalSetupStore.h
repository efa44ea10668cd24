#pragma once
// Guided goal setups in progress, by request id. Kept in the database so that an answer or a
// resume after a restart still finds its setup and never starts the goal twice.
#include "core/Database.h"
#include "core/Http.h"

#include <optional>
#include <string>

namespace service {

struct GoalSetup {
    long long userId = 0;
    std::string scope;
    std::string objective;
    std::optional<json> startedGoal;
};

void putGoalSetup(Database& db, const std::string& requestId, const GoalSetup& setup);
std::optional<GoalSetup> findGoalSetup(Database& db, const std::string& requestId);

} // namespace service
