#include "goals/GoalStore.h"

#include "core/Crypto.h"

#include <ctime>

namespace service {

namespace {

std::optional<json> loadGoal(Database& db, long long uid, const std::string& scope, const std::string& id)
{
    const auto rows
        = db.query("SELECT json FROM chat_goals WHERE id = ? AND user_id = ? AND scope = ?", {id, uid, scope});
    if (rows.empty())
        return std::nullopt;
    json goal = json::parse(text(rows[0][0]), nullptr, false);
    if (!goal.is_object())
        return std::nullopt;
    return goal;
}

void saveGoal(Database& db, const json& goal)
{
    db.execute("UPDATE chat_goals SET json = ? WHERE id = ?", {goal.dump(), goal["id"].get<std::string>()});
}

std::string isoInDays(int days)
{
    const std::time_t t = std::time(nullptr) + days * 86400;
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return buf;
}

} // namespace

json listGoals(Database& db, long long uid, const std::string& scope, int limit)
{
    json goals = json::array();
    for (const auto& r :
         db.query("SELECT json FROM chat_goals WHERE user_id = ? AND scope = ? ORDER BY created_at DESC, id LIMIT ?",
                  {uid, scope, static_cast<long long>(limit)})) {
        json goal = json::parse(text(r[0]), nullptr, false);
        if (goal.is_object())
            goals.push_back(std::move(goal));
    }
    return goals;
}

json createGoal(Database& db, long long uid, const std::string& scope, const json& fields)
{
    json goal{{"id", "g-" + randomHex(6)},     {"status", "active"}, {"target", 1}, {"current", 0}, {"unit", "result"},
              {"execution_mode", "recurring"}, {"version", 1}};
    for (const auto& [key, value] : fields.items())
        if (key != "id" && key != "version")
            goal[key] = value;
    const std::string objective = goal.value("objective", std::string());
    if (!goal.contains("title"))
        goal["title"] = objective;
    if (!goal.contains("definition_of_done"))
        goal["definition_of_done"] = "A result the user accepts: " + objective;
    db.execute("INSERT INTO chat_goals (id, user_id, scope, json, created_at) VALUES (?, ?, ?, ?, ?)",
               {goal["id"].get<std::string>(), uid, scope, goal.dump(), nowIso()});
    return goal;
}

GoalRun startGoalRun(Database& db, long long uid, const std::string& scope, const std::string& objective)
{
    json fields{{"objective", objective}, {"status", "running"}, {"execution_mode", "once"}};
    const json goal = createGoal(db, uid, scope, fields);
    return {goal["id"].get<std::string>(), "run-" + randomHex(6)};
}

void awaitReview(Database& db, const GoalRun& run)
{
    const auto rows = db.query("SELECT json FROM chat_goals WHERE id = ?", {run.goalId});
    if (rows.empty())
        return;
    json goal = json::parse(text(rows[0][0]), nullptr, false);
    if (!goal.is_object())
        return;
    goal["status"] = "awaiting_review";
    goal["current"] = 1;
    goal["pending_review"]
        = {{"run_id", run.runId}, {"acceptance_status", "pending"}, {"review_deadline", isoInDays(3)}};
    saveGoal(db, goal);
}

ReviewOutcome reviewRun(Database& db, long long uid, const std::string& scope, const GoalRun& run,
                        const std::string& decision, const std::string& feedback,
                        std::optional<long long> expectedVersion)
{
    if (decision != "accept" && decision != "needs_work")
        return {400, "Unknown decision: expected accept or needs_work", {}};
    if (decision == "needs_work" && trim(feedback).empty())
        return {400, "Describe what should be changed", {}};
    auto goal = loadGoal(db, uid, scope, run.goalId);
    if (!goal)
        return {404, "Goal not found", {}};
    const json* pending = goal->contains("pending_review") ? &(*goal)["pending_review"] : nullptr;
    if (!pending || !pending->is_object() || pending->value("run_id", std::string()) != run.runId)
        return {404, "Run not found", {}};
    if (pending->value("acceptance_status", std::string("pending")) != "pending")
        return {409, "This result was already reviewed", {}};
    const long long version = goal->value("version", 1LL);
    if (expectedVersion && *expectedVersion != version)
        return {409, "The goal changed since you looked at it", {}};
    (*goal)["pending_review"]["acceptance_status"] = decision == "accept" ? "accepted" : "needs_work";
    (*goal)["status"] = decision == "accept" ? "completed" : "active";
    (*goal)["version"] = version + 1;
    if (decision == "needs_work")
        (*goal)["last_feedback"] = trim(feedback);
    saveGoal(db, *goal);
    return {200, {}, *goal};
}

} // namespace service
