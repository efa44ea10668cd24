#include "governance/service/GovernanceService.h"

namespace halvex {

namespace {

QString mandatePath(const QString& agentId)
{
    return QStringLiteral("/api/v2/custom-agents/") + agentId + QStringLiteral("/mandate");
}

struct MandateAnswer {
    std::optional<AgentMandate> mandate;
    static MandateAnswer decode(const JsonReader& json) { return {json.optional<AgentMandate>("mandate")}; }
};

struct CallsAnswer {
    QList<VoiceCallRecord> calls;
    static CallsAnswer decode(const JsonReader& json)
    {
        return {json.optional<QList<VoiceCallRecord>>("calls").value_or(QList<VoiceCallRecord>())};
    }
};

struct AccountsAnswer {
    QList<ConnectedAccount> accounts;
    static AccountsAnswer decode(const JsonReader& json)
    {
        return {json.optional<QList<ConnectedAccount>>("connected_accounts").value_or(QList<ConnectedAccount>())};
    }
};

struct ConnectorsAnswer {
    QList<Connector> connectors;
    static ConnectorsAnswer decode(const JsonReader& json)
    {
        return {json.optional<QList<Connector>>("connectors").value_or(QList<Connector>())};
    }
};

struct PayoutsAnswer {
    QList<PaymentAccount> accounts;
    static PayoutsAnswer decode(const JsonReader& json)
    {
        return {json.optional<QList<PaymentAccount>>("payment_accounts").value_or(QList<PaymentAccount>())};
    }
};

} // namespace

QCoro::Task<std::optional<AgentMandate>> GovernanceService::mandate(QString agentId, CancelToken token)
{
    const QString path = mandatePath(agentId);
    const QueryItems none;
    const MandateAnswer answer = co_await m_api->get<MandateAnswer>(path, none, std::move(token));
    co_return answer.mandate;
}

QCoro::Task<std::optional<AgentMandate>> GovernanceService::saveMandate(QString agentId,
                                                                        std::optional<AgentMandate> mandate,
                                                                        CancelToken token)
{
    const QString path = mandatePath(agentId);
    JSONObject body{{QStringLiteral("mandate"), mandate ? JSONValue(mandate->encode()) : JSONValue()}};
    const QByteArray data = co_await m_api->putJSONRaw(path, std::move(body), std::move(token));
    co_return decodeJSON<MandateAnswer>(data).mandate;
}

QCoro::Task<QList<VoiceCallRecord>> GovernanceService::calls(QString agentId, int limit, CancelToken token)
{
    const QString path = QStringLiteral("/api/v2/voice/calls");
    const QueryItems query{{QStringLiteral("agent_id"), agentId}, {QStringLiteral("limit"), QString::number(limit)}};
    const CallsAnswer answer = co_await m_api->get<CallsAnswer>(path, query, std::move(token));
    co_return answer.calls;
}

QCoro::Task<QList<ConnectedAccount>> GovernanceService::connectedAccounts(std::optional<QString> agentId,
                                                                          CancelToken token)
{
    const QString path = QStringLiteral("/api/v2/connected-accounts");
    QueryItems query;
    if (agentId && !agentId->isEmpty())
        query.append({QStringLiteral("agent_id"), *agentId});
    const AccountsAnswer answer = co_await m_api->get<AccountsAnswer>(path, query, std::move(token));
    co_return answer.accounts;
}

QCoro::Task<void> GovernanceService::disconnectAccount(QString id, CancelToken token)
{
    const QString path = QStringLiteral("/api/v2/connected-accounts");
    const QueryItems query{{QStringLiteral("id"), id}};
    co_await m_api->del(path, query, std::move(token));
}

QCoro::Task<void> GovernanceService::connectWithKey(QString connectorSlug, QString apiKey, QString username,
                                                    QString password, CancelToken token)
{
    const QString path = QStringLiteral("/api/v2/connected-accounts/nango-api-key");
    JSONObject body{{QStringLiteral("connector_slug"), connectorSlug},
                    {QStringLiteral("api_key"), apiKey},
                    {QStringLiteral("username"), username},
                    {QStringLiteral("password"), password}};
    co_await m_api->postJSONRaw(path, std::move(body), std::move(token));
}

QCoro::Task<QList<Connector>> GovernanceService::connectors(CancelToken token)
{
    const QString path = QStringLiteral("/api/v2/connectors");
    const QueryItems none;
    const ConnectorsAnswer answer = co_await m_api->get<ConnectorsAnswer>(path, none, std::move(token));
    co_return answer.connectors;
}

QCoro::Task<QList<PaymentAccount>> GovernanceService::payoutAccounts(CancelToken token)
{
    const QString path = QStringLiteral("/api/v2/user/payment-accounts");
    const QueryItems none;
    const PayoutsAnswer answer = co_await m_api->get<PayoutsAnswer>(path, none, std::move(token));
    co_return answer.accounts;
}

} // namespace halvex
