#include "teams/service/TeamService.h"

#include "core/net/APIClient.h"

namespace halvex {

namespace {
QString memberPath(const QString& slug, const QString& agentId)
{
    return TeamService::teamPath(slug) + QStringLiteral("/members/") + agentId;
}
JSONObject one(const char* key, const JSONValue& value) { return {{QLatin1String(key), value}}; }
} // namespace

TeamService::TeamService() : m_api(&APIClient::shared()) {}

QCoro::Task<AddMemberResponse> TeamService::addMember(QString slug, QString brief, CancelToken token)
{
    const QString path = teamPath(slug) + QStringLiteral("/members");
    const JSONObject body = one("brief", brief);
    co_return co_await m_api->postJSON<AddMemberResponse>(path, body, std::nullopt, std::move(token));
}

QCoro::Task<TeamPatchResponse> TeamService::patch(QString slug, JSONObject body, CancelToken token)
{
    auto request = m_api->makeJSONRequest("PATCH", teamPath(slug), body);
    const QByteArray data = co_await m_api->send(std::move(request), std::move(token));
    co_return decodeJSON<TeamPatchResponse>(data);
}

QCoro::Task<TeamUsageResponse> TeamService::usage(QString slug, CancelToken token)
{
    const QString path = teamPath(slug) + QStringLiteral("/usage");
    co_return co_await m_api->get<TeamUsageResponse>(path, {}, std::move(token));
}

QCoro::Task<void> TeamService::memberAction(QString slug, QString agentId, QString action, CancelToken token)
{
    const QString path = memberPath(slug, agentId);
    const JSONObject body = one("action", action);
    co_await m_api->patchJSONRaw(path, body, std::move(token));
}

QCoro::Task<void> TeamService::setMemberModel(QString slug, QString agentId, QString provider, QString model,
                                              CancelToken token)
{
    JSONObject body{{QStringLiteral("llm_provider"), provider}, {QStringLiteral("llm_model"), model}};
    const QString path = memberPath(slug, agentId);
    co_await m_api->patchJSONRaw(path, std::move(body), std::move(token));
}

} // namespace halvex
