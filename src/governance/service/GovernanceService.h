#pragma once
// The employee's mandate, its call recordings, and the accounts connected for it. Stateless.
#include "core/net/APIClient.h"
#include "governance/model/AgentMandate.h"
#include "governance/model/ConnectionRecords.h"

#include <qcorotask.h>

namespace halvex {

class GovernanceService {
public:
    explicit GovernanceService(APIClient& api) : m_api(&api) {}

    QCoro::Task<std::optional<AgentMandate>> mandate(QString agentId, CancelToken token = {});
    // Stores `mandate`, or clears it when absent; the stored mandate back.
    QCoro::Task<std::optional<AgentMandate>> saveMandate(QString agentId, std::optional<AgentMandate> mandate,
                                                         CancelToken token = {});
    QCoro::Task<QList<VoiceCallRecord>> calls(QString agentId, int limit, CancelToken token = {});

    QCoro::Task<QList<ConnectedAccount>> connectedAccounts(std::optional<QString> agentId, CancelToken token = {});
    QCoro::Task<void> disconnectAccount(QString id, CancelToken token = {});
    QCoro::Task<void> connectWithKey(QString connectorSlug, QString apiKey, QString username, QString password,
                                     CancelToken token = {});
    QCoro::Task<QList<Connector>> connectors(CancelToken token = {});
    QCoro::Task<QList<PaymentAccount>> payoutAccounts(CancelToken token = {});

private:
    APIClient* m_api;
};

} // namespace halvex
