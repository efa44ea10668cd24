#include "marketplace/service/MarketplaceService.h"

namespace halvex {

namespace {

struct AgentsAnswer {
    QList<MarketplaceSummaryWorker> summary;
    static AgentsAnswer decode(const JsonReader& json)
    {
        return {json.optional<QList<MarketplaceSummaryWorker>>("agents").value_or(QList<MarketplaceSummaryWorker>())};
    }
};

struct PageAnswer {
    QList<MarketplaceWorker> workers;
    static PageAnswer decode(const JsonReader& json)
    {
        return {json.optional<QList<MarketplaceWorker>>("agents").value_or(QList<MarketplaceWorker>())};
    }
};

} // namespace

QCoro::Task<QList<MarketplaceSummaryWorker>> MarketplaceService::summary(CancelToken token)
{
    QueryItems query;
    query.append({QStringLiteral("summary"), QStringLiteral("1")});
    const AgentsAnswer answer
        = co_await m_api->get<AgentsAnswer>(QStringLiteral("api/v2/marketplace"), query, std::move(token));
    co_return answer.summary;
}

QCoro::Task<QList<MarketplaceWorker>> MarketplaceService::page(QStringList ids, CancelToken token)
{
    QueryItems query;
    query.append({QStringLiteral("ids"), ids.join(QLatin1Char(','))});
    const PageAnswer answer
        = co_await m_api->get<PageAnswer>(QStringLiteral("api/v2/marketplace"), query, std::move(token));
    co_return answer.workers;
}

QCoro::Task<QString> MarketplaceService::hire(QString id, std::optional<QString> teamSlug,
                                              std::optional<QString> projectSlug, CancelToken token)
{
    JSONObject body{{QStringLiteral("trigger_type"), QStringLiteral("manual")},
                    {QStringLiteral("intent"), QStringLiteral("hire")}};
    if (teamSlug && !teamSlug->isEmpty())
        body.insert(QStringLiteral("team_slug"), *teamSlug);
    if (projectSlug && !projectSlug->isEmpty())
        body.insert(QStringLiteral("project_slug"), *projectSlug);
    const QString path = QStringLiteral("api/v2/custom-agents/") + id + QStringLiteral("/clone");
    QByteArray answer;
    try {
        answer = co_await m_api->postJSONRaw(path, std::move(body), std::move(token));
    } catch (const APIError& error) {
        // Hired before: that employee is the answer, not a failure.
        if (error.kind() == APIError::Kind::alreadyHired)
            co_return error.existingAgentId();
        throw;
    }
    const JSONValue root = JSONValue::parse(answer);
    const auto newId = root["id"];
    co_return newId && newId->isString() ? newId->toString() : QString();
}

} // namespace halvex
