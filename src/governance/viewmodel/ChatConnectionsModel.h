#pragma once
// The chat's connections panel, channel half: the employee's e-mail address and phone number,
// provisioning an address, connecting a carrier, and the accounts connected for it.
#include "core/async/LatestOnly.h"
#include "governance/service/ChannelService.h"
#include "governance/service/GovernanceService.h"

#include <QObject>

namespace halvex {

class ChatConnectionsModel : public QObject {
    Q_OBJECT
public:
    ChatConnectionsModel(APIClient& api, QString agentId, QString agentName, QObject* parent = nullptr);

    const QString& agentId() const { return m_agentId; }
    const QString& agentName() const { return m_agentName; }
    const QList<AgentChannel>& channels() const { return m_channels; }
    const QList<ConnectedAccount>& accounts() const { return m_accounts; }
    QString emailLocalPart;
    QString phoneProviderId = QStringLiteral("twilio");
    QMap<QString, QString> phoneFields;
    bool isLoading() const { return m_loading; }
    const std::optional<QString>& busyAction() const { return m_busyAction; }
    const std::optional<QString>& error() const { return m_error; }

    std::optional<AgentChannel> emailChannel() const { return ChannelCatalog::emailChannel(m_channels); }
    std::optional<AgentChannel> phoneChannel() const { return ChannelCatalog::phoneChannel(m_channels); }

    QCoro::Task<void> load();
    QCoro::Task<void> provisionEmail();
    QCoro::Task<void> connectPhone();

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    QCoro::Task<void> reloadChannels(CancelToken token);
    template <typename Work>
    QCoro::Task<void> act(QString action, Work work);

    ChannelService m_channelService;
    GovernanceService m_governance;
    QString m_agentId;
    QString m_agentName;
    QList<AgentChannel> m_channels;
    QList<ConnectedAccount> m_accounts;
    bool m_loading = false;
    std::optional<QString> m_busyAction;
    std::optional<QString> m_error;
    LatestOnly m_load;
    LatestOnly m_action;
};

} // namespace halvex
