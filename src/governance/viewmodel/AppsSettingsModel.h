#pragma once
// The apps section of the settings window: connectable apps with search, the accounts connected
// for the picked employee, payout accounts, and the external API catalogue with stored keys.
#include "core/async/LatestOnly.h"
#include "governance/service/ChannelService.h"
#include "governance/service/GovernanceService.h"

#include <QObject>

namespace halvex {

class AppsSettingsModel : public QObject {
    Q_OBJECT
public:
    explicit AppsSettingsModel(APIClient& api, QObject* parent = nullptr);

    const QList<ConnectedAccount>& accounts() const { return m_accounts; }
    const QList<PaymentAccount>& payouts() const { return m_payouts; }
    const QList<Connector>& connectors() const { return m_connectors; }
    const QList<ExternalApiCatalogEntry>& apiCatalog() const { return m_apiCatalog; }
    const QList<ExternalApiKey>& apiKeys() const { return m_apiKeys; }
    QString connectorQuery;
    QString apiQuery;
    // The connectors and catalogue entries whose name, slug or category holds the query.
    QList<Connector> filteredConnectors() const;
    QList<ExternalApiCatalogEntry> filteredCatalog() const;
    bool isLoading() const { return m_loading; }
    bool isBusy() const { return m_busy; }
    const QString& notice() const { return m_notice; }
    const std::optional<QString>& error() const { return m_error; }

    QCoro::Task<void> load(std::optional<QString> agentId);
    QCoro::Task<void> refresh();
    QCoro::Task<void> connect(Connector connector, QString apiKey, QString username, QString password);
    QCoro::Task<void> connectApi(ExternalApiCatalogEntry entry, QString secret);
    QCoro::Task<void> disconnect(ConnectedAccount account);
    QCoro::Task<void> disconnectApi(ExternalApiKey key);

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    // One change: busy while `work` runs, then a refresh and the notice, or the error.
    template <typename Work>
    QCoro::Task<void> change(Work work, QString success, QString failurePrefix);
    std::optional<QString> failureText(const std::exception_ptr& error);

    GovernanceService m_governance;
    ExternalKeysService m_keys;
    std::optional<QString> m_agentId;
    QList<ConnectedAccount> m_accounts;
    QList<PaymentAccount> m_payouts;
    QList<Connector> m_connectors;
    QList<ExternalApiCatalogEntry> m_apiCatalog;
    QList<ExternalApiKey> m_apiKeys;
    bool m_loading = false;
    bool m_busy = false;
    QString m_notice;
    std::optional<QString> m_error;
    LatestOnly m_load;
    LatestOnly m_change;
};

} // namespace halvex
