#include "projects/model/GoalRecords.h"

namespace halvex {

QString GoalScope::base() const
{
    return (m_team ? QStringLiteral("api/v2/teams/") : QStringLiteral("api/v2/custom-agents/")) + m_value;
}

GoalPendingReviewRef GoalPendingReviewRef::decode(const JsonReader& json)
{
    GoalPendingReviewRef r;
    r.runId = json.required<QString>("run_id");
    r.acceptanceStatus = json.lenient<QString>("acceptance_status");
    r.reviewDeadline = json.lenient<QString>("review_deadline");
    return r;
}

GoalListItem GoalListItem::decode(const JsonReader& json)
{
    GoalListItem g;
    g.id = json.required<QString>("id");
    g.objective = json.lenient<QString>("objective");
    g.status = json.lenient<QString>("status");
    g.target = json.lenient<double>("target");
    g.current = json.lenient<double>("current");
    g.unit = json.lenient<QString>("unit");
    g.executionMode = json.lenient<QString>("execution_mode");
    g.title = json.lenient<QString>("title");
    g.summary = json.lenient<QString>("summary");
    g.name = json.lenient<QString>("name");
    g.version = json.lenient<int>("version");
    g.definitionOfDone = json.lenient<QString>("definition_of_done");
    g.pendingReview = json.lenient<GoalPendingReviewRef>("pending_review");
    return g;
}

GoalListResponse GoalListResponse::decode(const JsonReader& json)
{
    return {json.required<QList<GoalListItem>>("goals")};
}

StartedGoal StartedGoal::decode(const JsonReader& json)
{
    return {json.lenient<QString>("id").value_or(QString()), json.lenient<QString>("objective").value_or(QString())};
}

GoalAutoStartResponse GoalAutoStartResponse::decode(const JsonReader& json)
{
    GoalAutoStartResponse r;
    r.status = json.lenient<QString>("status");
    r.requestId = json.lenient<QString>("request_id");
    r.question = json.lenient<QString>("question");
    r.options = json.lenient<QStringList>("options");
    r.step = json.lenient<int>("step");
    r.totalSteps = json.lenient<int>("total_steps");
    r.goal = json.lenient<StartedGoal>("goal");
    r.error = json.lenient<QString>("error");
    r.message = json.lenient<QString>("message");
    return r;
}

} // namespace halvex
