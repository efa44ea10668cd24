#include "session/service/AppBootstrapService.h"

#include "core/net/APIClient.h"

namespace halvex {

QCoro::Task<AppBootstrapResult> AppBootstrapService::load(CancelToken token)
{
    // Tasks start eagerly, so both requests are in flight before the first await.
    auto user = loadUser(token);
    auto agents = loadAgents(token);
    AppBootstrapResult result;
    result.user = co_await std::move(user);
    result.agents = co_await std::move(agents);
    token.throwIfCancelled();
    if (!result.user)
        result.agents.reset();
    co_return result;
}

QCoro::Task<std::optional<User>> AppBootstrapService::loadUser(CancelToken token)
{
    try {
        co_return co_await m_api->get<User>(QStringLiteral("api/v2/auth/me"), {}, std::move(token));
    } catch (const std::exception&) {
        co_return std::nullopt;
    }
}

QCoro::Task<std::optional<AgentsListResponse>> AppBootstrapService::loadAgents(CancelToken token)
{
    // Built outside the co_await: GCC 12 miscompiles string literals inside the awaited call.
    const QString path = QStringLiteral("api/v2/custom-agents");
    const QueryItems query{{QStringLiteral("include_activity"), QStringLiteral("1")}};
    try {
        co_return co_await m_api->get<AgentsListResponse>(path, query, std::move(token));
    } catch (const std::exception&) {
        co_return std::nullopt;
    }
}

} // namespace halvex
