#pragma once
// An employee's own channels: the list, an e-mail address from the service, a phone number from
// a carrier. Stateless.
#include "core/net/APIClient.h"
#include "governance/model/ChannelCatalog.h"

#include <qcorotask.h>

namespace halvex {

class ChannelService {
public:
    explicit ChannelService(APIClient& api) : m_api(&api) {}

    QCoro::Task<QList<AgentChannel>> channels(QString agentId, CancelToken token = {});
    QCoro::Task<void> provisionEmail(QString agentId, QString localPart, CancelToken token = {});
    // Posts the carrier's fields; empty optional fields are left out.
    QCoro::Task<void> connectPhone(ChannelProvider provider, QString agentId, QMap<QString, QString> fields,
                                   CancelToken token = {});

private:
    APIClient* m_api;
};

class ExternalKeysService {
public:
    explicit ExternalKeysService(APIClient& api) : m_api(&api) {}

    QCoro::Task<QList<ExternalApiCatalogEntry>> catalog(CancelToken token = {});
    QCoro::Task<QList<ExternalApiKey>> list(CancelToken token = {});
    QCoro::Task<void> add(QString suggestionId, QString key, CancelToken token = {});
    QCoro::Task<void> remove(QString id, CancelToken token = {});

private:
    APIClient* m_api;
};

} // namespace halvex
