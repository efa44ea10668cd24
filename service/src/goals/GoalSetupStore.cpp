#include "goals/GoalSetupStore.h"

namespace service {

void putGoalSetup(Database& db, const std::string& requestId, const GoalSetup& setup)
{
    db.execute("INSERT INTO goal_setups (request_id, user_id, scope, objective, started_goal, created_at) VALUES (?, "
               "?, ?, ?, ?, ?) "
               "ON CONFLICT (request_id) DO UPDATE SET started_goal = excluded.started_goal",
               {requestId, setup.userId, setup.scope, setup.objective,
                setup.startedGoal ? SqlValue(setup.startedGoal->dump()) : SqlValue(nullptr), nowIso()});
}

std::optional<GoalSetup> findGoalSetup(Database& db, const std::string& requestId)
{
    const auto rows
        = db.query("SELECT user_id, scope, objective, started_goal FROM goal_setups WHERE request_id = ?", {requestId});
    if (rows.empty())
        return std::nullopt;
    GoalSetup setup{integer(rows[0][0]), text(rows[0][1]), text(rows[0][2]), std::nullopt};
    if (!isNull(rows[0][3])) {
        json goal = json::parse(text(rows[0][3]), nullptr, false);
        if (goal.is_object())
            setup.startedGoal = std::move(goal);
    }
    return setup;
}

} // namespace service
