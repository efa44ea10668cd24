#pragma once
// The goal calls of one agent or team. Stateless; failures are the client's APIError, unchanged.
#include "core/async/CancelToken.h"
#include "core/net/APIClient.h"
#include "projects/model/GoalRecords.h"

#include <qcorotask.h>

namespace halvex {

class GoalService {
public:
    explicit GoalService(APIClient& api) : m_api(&api) {}

    QCoro::Task<QList<GoalListItem>> list(GoalScope scope, int limit, CancelToken token = {});
    QCoro::Task<GoalAutoStartResponse> autoStart(GoalScope scope, QString objective, QString clientRequestId,
                                                 CancelToken token = {});
    QCoro::Task<GoalAutoStartResponse> answer(GoalScope scope, QString requestId, QString answer,
                                              CancelToken token = {});
    QCoro::Task<GoalAutoStartResponse> resume(GoalScope scope, QString requestId, CancelToken token = {});
    QCoro::Task<void> saveFirstGoal(GoalScope scope, QString objective, CancelToken token = {});
    // `decision` is "accept" or "needs_work"; `expectedVersion` is the goal version the user saw.
    QCoro::Task<void> review(GoalScope scope, QString goalId, QString runId, QString decision, QString feedback,
                             int expectedVersion, CancelToken token = {});

    static JSONObject firstGoalBody(const QString& objective);

private:
    APIClient* m_api;
};

} // namespace halvex
