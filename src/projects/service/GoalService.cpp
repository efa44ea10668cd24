#include "projects/service/GoalService.h"

#include <QTimeZone>

namespace halvex {

QCoro::Task<QList<GoalListItem>> GoalService::list(GoalScope scope, int limit, CancelToken token)
{
    const QueryItems query{{QStringLiteral("limit"), QString::number(limit)}};
    const QString path = scope.base() + QStringLiteral("/goals");
    const GoalListResponse response = co_await m_api->get<GoalListResponse>(path, query, token);
    co_return response.goals;
}

QCoro::Task<GoalAutoStartResponse> GoalService::autoStart(GoalScope scope, QString objective, QString clientRequestId,
                                                          CancelToken token)
{
    JSONObject body;
    body.insert(QStringLiteral("objective"), objective);
    body.insert(QStringLiteral("timezone"), QString::fromUtf8(QTimeZone::systemTimeZoneId()));
    body.insert(QStringLiteral("client_request_id"), clientRequestId);
    const QString path = scope.base() + QStringLiteral("/goals/auto-start");
    co_return co_await m_api->postJSON<GoalAutoStartResponse>(path, body, std::nullopt, token);
}

QCoro::Task<GoalAutoStartResponse> GoalService::answer(GoalScope scope, QString requestId, QString answer,
                                                       CancelToken token)
{
    JSONObject body;
    body.insert(QStringLiteral("answer"), answer);
    const QString path = scope.base() + QStringLiteral("/goals/auto-start/") + requestId + QStringLiteral("/answer");
    co_return co_await m_api->postJSON<GoalAutoStartResponse>(path, body, std::nullopt, token);
}

QCoro::Task<GoalAutoStartResponse> GoalService::resume(GoalScope scope, QString requestId, CancelToken token)
{
    const QString path = scope.base() + QStringLiteral("/goals/auto-start/") + requestId + QStringLiteral("/resume");
    const JSONObject empty;
    co_return co_await m_api->postJSON<GoalAutoStartResponse>(path, empty, std::nullopt, token);
}

JSONObject GoalService::firstGoalBody(const QString& objective)
{
    JSONObject config;
    config.insert(QStringLiteral("parser_version"), 1);
    config.insert(QStringLiteral("uniqueness"), QStringLiteral("normalized_content"));
    JSONObject metric;
    metric.insert(QStringLiteral("kind"), QStringLiteral("agent_output_count"));
    metric.insert(QStringLiteral("config"), config);
    metric.insert(QStringLiteral("description"), QStringLiteral("Unique results delivered toward the objective."));
    metric.insert(QStringLiteral("how_to_measure"),
                  QStringLiteral("Count unique results the agent delivers toward this outcome."));
    JSONObject limits;
    limits.insert(QStringLiteral("max_cycles"), 30);
    limits.insert(QStringLiteral("max_cost_usd"), JSONValue());
    limits.insert(QStringLiteral("deadline_at"), JSONValue());
    JSONObject body;
    body.insert(QStringLiteral("objective"), objective);
    body.insert(QStringLiteral("target"), 1);
    body.insert(QStringLiteral("unit"), QStringLiteral("result"));
    body.insert(QStringLiteral("direction"), QStringLiteral("increase"));
    body.insert(QStringLiteral("metric"), metric);
    body.insert(QStringLiteral("cadence_minutes"), 1440);
    body.insert(QStringLiteral("limits"), limits);
    return body;
}

QCoro::Task<void> GoalService::saveFirstGoal(GoalScope scope, QString objective, CancelToken token)
{
    const JSONObject body = firstGoalBody(objective);
    const QString path = scope.base() + QStringLiteral("/goal");
    co_await m_api->putJSONRaw(path, body, token);
}

QCoro::Task<void> GoalService::review(GoalScope scope, QString goalId, QString runId, QString decision,
                                      QString feedback, int expectedVersion, CancelToken token)
{
    JSONObject body;
    body.insert(QStringLiteral("decision"), decision);
    body.insert(QStringLiteral("feedback"), feedback);
    body.insert(QStringLiteral("expected_goal_version"), expectedVersion);
    const QString path = scope.base() + QStringLiteral("/goals/") + goalId + QStringLiteral("/runs/") + runId
        + QStringLiteral("/review");
    co_await m_api->postJSONRaw(path, body, token);
}

} // namespace halvex
