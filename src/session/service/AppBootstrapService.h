#pragma once
// The start-up loader: the signed-in user and the employee list, asked for in parallel.
#include "agents/model/AgentsListResponse.h"
#include "core/async/CancelToken.h"
#include "session/model/User.h"

#include <qcorotask.h>

#include <optional>

namespace halvex {

class APIClient;

// `user` absent means no session; `agents` may be absent while signed in (its request failed).
struct AppBootstrapResult {
    std::optional<User> user;
    std::optional<AgentsListResponse> agents;
};

class AppBootstrapService {
public:
    explicit AppBootstrapService(APIClient& api) : m_api(&api) {}
    virtual ~AppBootstrapService() = default;

    virtual QCoro::Task<AppBootstrapResult> load(CancelToken token = {});

private:
    QCoro::Task<std::optional<User>> loadUser(CancelToken token);
    QCoro::Task<std::optional<AgentsListResponse>> loadAgents(CancelToken token);
    APIClient* m_api;
};

} // namespace halvex
