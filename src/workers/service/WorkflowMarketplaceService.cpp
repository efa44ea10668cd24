#include "workers/service/WorkflowMarketplaceService.h"

#include "workers/service/WorkerBuildService.h"

namespace halvex {

QCoro::Task<WorkflowMarketplacePage> WorkflowMarketplaceService::list(std::optional<QString> cursor, CancelToken token)
{
    QueryItems query;
    if (cursor && !cursor->isEmpty())
        query.append({QStringLiteral("cursor"), *cursor});
    const QString path = QStringLiteral("api/v2/workflow-marketplace");
    QCoro::Task<WorkflowMarketplacePage> read = m_api->get<WorkflowMarketplacePage>(path, query, std::move(token));
    co_return co_await std::move(read);
}

QCoro::Task<QString> WorkflowMarketplaceService::install(QString id, CancelToken token)
{
    const QString path = QStringLiteral("api/v2/workflow-marketplace/") + id + QStringLiteral("/install");
    JSONObject none;
    const QByteArray data = co_await m_api->postJSONRaw(path, std::move(none), std::move(token));
    co_return WorkerBuildService::idOf(JSONValue::parse(data));
}

QCoro::Task<void> WorkflowMarketplaceService::setAvailable(bool available, QString workerId, CancelToken token)
{
    const QString path = QStringLiteral("api/v2/custom-agents/") + workerId + QStringLiteral("/workflow-marketplace");
    JSONObject body{{QStringLiteral("available"), available}};
    co_await m_api->patchJSONRaw(path, std::move(body), std::move(token));
}

} // namespace halvex
