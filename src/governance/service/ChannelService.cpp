#include "governance/service/ChannelService.h"

namespace halvex {

namespace {

struct ChannelsAnswer {
    QList<AgentChannel> channels;
    static ChannelsAnswer decode(const JsonReader& json)
    {
        return {json.optional<QList<AgentChannel>>("channels").value_or(QList<AgentChannel>())};
    }
};

struct CatalogAnswer {
    QList<ExternalApiCatalogEntry> entries;
    static CatalogAnswer decode(const JsonReader& json)
    {
        return {json.optional<QList<ExternalApiCatalogEntry>>("entries").value_or(QList<ExternalApiCatalogEntry>())};
    }
};

struct KeysAnswer {
    QList<ExternalApiKey> keys;
    static KeysAnswer decode(const JsonReader& json)
    {
        return {json.optional<QList<ExternalApiKey>>("external_api_keys").value_or(QList<ExternalApiKey>())};
    }
};

const QString kKeys = QStringLiteral("/api/v2/user/external-api-keys");

} // namespace

QCoro::Task<QList<AgentChannel>> ChannelService::channels(QString agentId, CancelToken token)
{
    const QString path = QStringLiteral("/api/v2/custom-agents/") + agentId + QStringLiteral("/channels");
    const QueryItems none;
    const ChannelsAnswer answer = co_await m_api->get<ChannelsAnswer>(path, none, std::move(token));
    co_return answer.channels;
}

QCoro::Task<void> ChannelService::provisionEmail(QString agentId, QString localPart, CancelToken token)
{
    const QString path = QStringLiteral("/api/v2/user/email-channels");
    JSONObject body{{QStringLiteral("custom_agent_id"), agentId}, {QStringLiteral("local_part"), localPart.trimmed()}};
    co_await m_api->postJSONRaw(path, std::move(body), std::move(token));
}

QCoro::Task<void> ChannelService::connectPhone(ChannelProvider provider, QString agentId, QMap<QString, QString> fields,
                                               CancelToken token)
{
    JSONObject body{{QStringLiteral("custom_agent_id"), agentId}};
    for (const ChannelField& f : provider.fields) {
        const QString value = fields.value(f.key).trimmed();
        if (value.isEmpty() && f.optional)
            continue;
        body.insert(f.key, value);
    }
    co_await m_api->postJSONRaw(provider.endpoint, std::move(body), std::move(token));
}

QCoro::Task<QList<ExternalApiCatalogEntry>> ExternalKeysService::catalog(CancelToken token)
{
    const QString path = kKeys + QStringLiteral("/catalog");
    const QueryItems none;
    const CatalogAnswer answer = co_await m_api->get<CatalogAnswer>(path, none, std::move(token));
    co_return answer.entries;
}

QCoro::Task<QList<ExternalApiKey>> ExternalKeysService::list(CancelToken token)
{
    const QueryItems none;
    const KeysAnswer answer = co_await m_api->get<KeysAnswer>(kKeys, none, std::move(token));
    co_return answer.keys;
}

QCoro::Task<void> ExternalKeysService::add(QString suggestionId, QString key, CancelToken token)
{
    JSONObject body{{QStringLiteral("suggestion_id"), suggestionId}, {QStringLiteral("key"), key}};
    co_await m_api->postJSONRaw(kKeys, std::move(body), std::move(token));
}

QCoro::Task<void> ExternalKeysService::remove(QString id, CancelToken token)
{
    const QString path = kKeys + QLatin1Char('/') + id;
    const QueryItems none;
    co_await m_api->del(path, none, std::move(token));
}

} // namespace halvex
