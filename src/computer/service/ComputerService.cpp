#include "computer/service/ComputerService.h"

namespace halvex {

namespace {

const QString computerPath = QStringLiteral("api/v2/user/computer");

} // namespace

QCoro::Task<ComputerStateResponse> ComputerService::state(QString agentId, CancelToken token)
{
    const QueryItems query{{QStringLiteral("agent_id"), agentId},
                           {QStringLiteral("workspace_scope"), QStringLiteral("agent")}};
    co_return co_await m_api->get<ComputerStateResponse>(computerPath, query, std::move(token));
}

QCoro::Task<void> ComputerService::setProvider(QString provider, QString agentId, CancelToken token)
{
    JSONObject body{{QStringLiteral("action"), QStringLiteral("set-provider")},
                    {QStringLiteral("provider"), provider},
                    {QStringLiteral("agent_id"), agentId},
                    {QStringLiteral("workspace_scope"), QStringLiteral("agent")}};
    co_await m_api->postJSONRaw(computerPath, std::move(body), std::move(token));
}

QCoro::Task<ComputerOpenResponse> ComputerService::openSession(QString agentId, QString startURL, CancelToken token)
{
    JSONObject body{{QStringLiteral("action"), QStringLiteral("open")},
                    {QStringLiteral("agent_id"), agentId},
                    {QStringLiteral("workspace_scope"), QStringLiteral("agent")},
                    {QStringLiteral("start_url"), startURL}};
    co_return co_await m_api->postJSON<ComputerOpenResponse>(computerPath, std::move(body), std::nullopt,
                                                             std::move(token));
}

} // namespace halvex
