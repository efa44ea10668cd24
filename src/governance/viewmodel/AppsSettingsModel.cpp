#include "governance/viewmodel/AppsSettingsModel.h"

#include "core/async/Failure.h"

namespace halvex {

namespace {

bool matches(const QString& query, std::initializer_list<QString> fields)
{
    const QString q = query.trimmed();
    return q.isEmpty() || std::any_of(fields.begin(), fields.end(), [&](const QString& f) {
               return f.contains(q, Qt::CaseInsensitive);
           });
}

} // namespace

AppsSettingsModel::AppsSettingsModel(APIClient& api, QObject* parent) : QObject(parent), m_governance(api), m_keys(api)
{}

std::optional<QString> AppsSettingsModel::failureText(const std::exception_ptr& error)
{
    return Failure::shown(error, [this] { Q_EMIT unauthorized(); });
}

QList<Connector> AppsSettingsModel::filteredConnectors() const
{
    QList<Connector> out;
    for (const Connector& c : m_connectors)
        if (matches(connectorQuery, {c.name, c.slug, c.category.value_or(QString())}))
            out.append(c);
    return out;
}

QList<ExternalApiCatalogEntry> AppsSettingsModel::filteredCatalog() const
{
    QList<ExternalApiCatalogEntry> out;
    for (const ExternalApiCatalogEntry& e : m_apiCatalog)
        if (matches(apiQuery, {e.label, e.slug, e.category.value_or(QString()), e.summary.value_or(QString())}))
            out.append(e);
    return out;
}

QCoro::Task<void> AppsSettingsModel::load(std::optional<QString> agentId)
{
    const CancelToken token = m_load.next();
    m_agentId = agentId;
    m_loading = true;
    m_error.reset();
    m_notice.clear();
    Q_EMIT changed();
    std::exception_ptr failed;
    try {
        QList<Connector> connectors = co_await m_governance.connectors(token);
        QList<ExternalApiCatalogEntry> catalog = co_await m_keys.catalog(token);
        if (token.isCancelled())
            co_return;
        m_connectors = std::move(connectors);
        m_apiCatalog = std::move(catalog);
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failed) {
        m_error = failureText(failed);
        m_loading = false;
        Q_EMIT changed();
        co_return;
    }
    co_await refresh();
}

QCoro::Task<void> AppsSettingsModel::refresh()
{
    const CancelToken token = m_load.next();
    m_loading = true;
    Q_EMIT changed();
    std::exception_ptr failed;
    try {
        QList<ConnectedAccount> accounts = co_await m_governance.connectedAccounts(m_agentId, token);
        QList<PaymentAccount> payouts = co_await m_governance.payoutAccounts(token);
        QList<ExternalApiKey> keys = co_await m_keys.list(token);
        if (token.isCancelled())
            co_return;
        m_accounts = std::move(accounts);
        m_payouts = std::move(payouts);
        m_apiKeys = std::move(keys);
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failed)
        m_error = failureText(failed);
    m_loading = false;
    Q_EMIT changed();
}

template <typename Work>
QCoro::Task<void> AppsSettingsModel::change(Work work, QString success, QString failurePrefix)
{
    if (m_busy)
        co_return;
    const CancelToken token = m_change.next();
    m_busy = true;
    m_error.reset();
    m_notice.clear();
    Q_EMIT changed();
    std::exception_ptr failed;
    try {
        co_await work(token);
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    m_busy = false;
    if (failed) {
        if (const auto text = failureText(failed))
            m_error = failurePrefix + QStringLiteral(" — ") + *text;
        Q_EMIT changed();
        co_return;
    }
    co_await refresh();
    m_notice = success;
    Q_EMIT changed();
}

QCoro::Task<void> AppsSettingsModel::connect(Connector connector, QString apiKey, QString username, QString password)
{
    QCoro::Task<void> work = change(
        [=, this](CancelToken t) { return m_governance.connectWithKey(connector.slug, apiKey, username, password, t); },
        connector.name + QStringLiteral(" connected."), QStringLiteral("Could not connect ") + connector.name);
    co_await std::move(work);
}

QCoro::Task<void> AppsSettingsModel::connectApi(ExternalApiCatalogEntry entry, QString secret)
{
    QCoro::Task<void> work
        = change([=, this](CancelToken t) { return m_keys.add(entry.slug, secret, t); },
                 entry.label + QStringLiteral(" connected."), QStringLiteral("Could not connect ") + entry.label);
    co_await std::move(work);
}

QCoro::Task<void> AppsSettingsModel::disconnect(ConnectedAccount account)
{
    const QString name = account.name();
    QCoro::Task<void> work
        = change([=, this](CancelToken t) { return m_governance.disconnectAccount(account.id, t); },
                 name + QStringLiteral(" disconnected."), QStringLiteral("Could not disconnect ") + name);
    co_await std::move(work);
}

QCoro::Task<void> AppsSettingsModel::disconnectApi(ExternalApiKey key)
{
    const QString name = key.label && !key.label->isEmpty() ? *key.label : key.slug;
    QCoro::Task<void> work
        = change([=, this](CancelToken t) { return m_keys.remove(key.id, t); }, name + QStringLiteral(" disconnected."),
                 QStringLiteral("Could not disconnect ") + name);
    co_await std::move(work);
}

} // namespace halvex
