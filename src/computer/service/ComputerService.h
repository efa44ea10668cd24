#pragma once
// The user's computer for an employee: its state, the browser provider, and opening a session.
// Stateless; every call is scoped to the employee's own workspace.
#include "computer/model/ComputerRecords.h"
#include "core/net/APIClient.h"

#include <qcorotask.h>

namespace halvex {

class ComputerService {
public:
    explicit ComputerService(APIClient& api) : m_api(&api) {}

    QCoro::Task<ComputerStateResponse> state(QString agentId, CancelToken token = {});
    QCoro::Task<void> setProvider(QString provider, QString agentId, CancelToken token = {});
    QCoro::Task<ComputerOpenResponse> openSession(QString agentId, QString startURL, CancelToken token = {});

private:
    APIClient* m_api;
};

} // namespace halvex
