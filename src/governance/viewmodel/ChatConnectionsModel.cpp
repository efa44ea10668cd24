#include "governance/viewmodel/ChatConnectionsModel.h"

#include "core/async/Failure.h"

namespace halvex {

ChatConnectionsModel::ChatConnectionsModel(APIClient& api, QString agentId, QString agentName, QObject* parent)
    : QObject(parent),
      m_channelService(api),
      m_governance(api),
      m_agentId(std::move(agentId)),
      m_agentName(std::move(agentName))
{}

QCoro::Task<void> ChatConnectionsModel::load()
{
    const CancelToken token = m_load.next();
    m_loading = true;
    m_error.reset();
    Q_EMIT changed();
    std::exception_ptr failed;
    try {
        // Both start before either is awaited.
        QCoro::Task<QList<AgentChannel>> channels = m_channelService.channels(m_agentId, token);
        QCoro::Task<QList<ConnectedAccount>> accounts = m_governance.connectedAccounts(m_agentId, token);
        QList<AgentChannel> channelList = co_await std::move(channels);
        QList<ConnectedAccount> accountList = co_await std::move(accounts);
        if (token.isCancelled())
            co_return;
        m_channels = std::move(channelList);
        m_accounts = std::move(accountList);
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failed)
        m_error = Failure::shown(failed, [this] { Q_EMIT unauthorized(); });
    m_loading = false;
    Q_EMIT changed();
}

template <typename Work>
QCoro::Task<void> ChatConnectionsModel::act(QString action, Work work)
{
    if (m_busyAction)
        co_return;
    const CancelToken token = m_action.next();
    m_busyAction = action;
    m_error.reset();
    Q_EMIT changed();
    std::exception_ptr failed;
    try {
        co_await work(token);
        QList<AgentChannel> channels = co_await m_channelService.channels(m_agentId, token);
        if (!token.isCancelled())
            m_channels = std::move(channels);
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failed)
        m_error = Failure::shown(failed, [this] { Q_EMIT unauthorized(); });
    m_busyAction.reset();
    Q_EMIT changed();
}

QCoro::Task<void> ChatConnectionsModel::provisionEmail()
{
    const QString localPart = emailLocalPart.trimmed();
    QCoro::Task<void> work = act(QStringLiteral("email"), [this, localPart](CancelToken t) {
        return m_channelService.provisionEmail(m_agentId, localPart, t);
    });
    co_await std::move(work);
}

QCoro::Task<void> ChatConnectionsModel::connectPhone()
{
    const ChannelProvider* provider = ChannelCatalog::carrier(phoneProviderId);
    if (!provider)
        co_return;
    const ChannelProvider carrier = *provider;
    const QMap<QString, QString> fields = phoneFields;
    QCoro::Task<void> work = act(QStringLiteral("phone"), [this, carrier, fields](CancelToken t) {
        return m_channelService.connectPhone(carrier, m_agentId, fields, t);
    });
    co_await std::move(work);
}

} // namespace halvex
