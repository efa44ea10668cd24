#include "ui/settings/AppsSettings.h"

#include "core/format/SettingsDate.h"
#include "ui/settings/IdentitySettings.h"

namespace halvex {

AppsSettings::AppsSettings(APIClient& api, IdentitySettings& identity, QObject* parent)
    : QObject(parent),
      m_identity(identity),
      m_model(api)
{
    connect(&m_model, &AppsSettingsModel::changed, this, &AppsSettings::changed);
    connect(&m_model, &AppsSettingsModel::unauthorized, this, &AppsSettings::unauthorized);
    connect(&m_identity, &IdentitySettings::changed, this, &AppsSettings::follow);
}

void AppsSettings::open()
{
    m_open = true;
    m_identity.open();
    m_loadedFor = QStringLiteral("\n"); // no employee id looks like this: the first follow loads
    follow();
}

void AppsSettings::follow()
{
    const QString id = m_identity.agentId();
    if (!m_open || id == m_loadedFor)
        return;
    m_loadedFor = id;
    m_model.load(id.isEmpty() ? std::nullopt : std::optional<QString>(id));
}

void AppsSettings::setConnectorQuery(const QString& q)
{
    m_model.connectorQuery = q;
    Q_EMIT changed();
}

void AppsSettings::setApiQuery(const QString& q)
{
    m_model.apiQuery = q;
    Q_EMIT changed();
}

QVariantList AppsSettings::connectors() const
{
    QStringList connected;
    for (const ConnectedAccount& a : m_model.accounts())
        connected << a.connectorSlug.value_or(QString());
    QVariantList out;
    for (const Connector& c : m_model.filteredConnectors())
        out << QVariantMap{{QStringLiteral("slug"), c.slug},
                           {QStringLiteral("name"), c.name},
                           {QStringLiteral("category"), c.category.value_or(QString())},
                           {QStringLiteral("logo"), c.logoUrl.value_or(QString())},
                           {QStringLiteral("connected"), connected.contains(c.slug)}};
    return out;
}

QVariantList AppsSettings::accounts() const
{
    QVariantList out;
    for (const ConnectedAccount& a : m_model.accounts()) {
        QStringList detail;
        if (a.connectorSlug)
            detail << *a.connectorSlug;
        if (a.lastValidatedAt)
            detail << QStringLiteral("checked ") + SettingsDate::shortText(a.lastValidatedAt);
        if (a.errorMessage && !a.errorMessage->isEmpty())
            detail << *a.errorMessage;
        out << QVariantMap{{QStringLiteral("id"), a.id},
                           {QStringLiteral("name"), a.name()},
                           {QStringLiteral("detail"), detail.join(QStringLiteral(" · "))},
                           {QStringLiteral("status"), a.status.value_or(QString())}};
    }
    return out;
}

QVariantList AppsSettings::payouts() const
{
    QVariantList out;
    for (const PaymentAccount& p : m_model.payouts()) {
        QStringList detail;
        for (const std::optional<QString>& part : {p.provider, p.currency})
            if (part && !part->isEmpty())
                detail << *part;
        if (!p.isValid.value_or(true))
            detail << QStringLiteral("needs attention");
        out << QVariantMap{{QStringLiteral("id"), p.id},
                           {QStringLiteral("label"), p.label.value_or(p.provider.value_or(QStringLiteral("Account")))},
                           {QStringLiteral("detail"), detail.join(QStringLiteral(" · "))}};
    }
    return out;
}

QVariantList AppsSettings::catalog() const
{
    QVariantList out;
    for (const ExternalApiCatalogEntry& e : m_model.filteredCatalog())
        out << QVariantMap{{QStringLiteral("slug"), e.slug},
                           {QStringLiteral("label"), e.label},
                           {QStringLiteral("summary"), e.summary.value_or(QString())},
                           {QStringLiteral("category"), e.category.value_or(QString())}};
    return out;
}

QVariantList AppsSettings::keys() const
{
    QVariantList out;
    for (const ExternalApiKey& k : m_model.apiKeys())
        out << QVariantMap{{QStringLiteral("id"), k.id},
                           {QStringLiteral("name"), k.label && !k.label->isEmpty() ? *k.label : k.slug},
                           {QStringLiteral("detail"),
                            k.lastUsedAt ? QStringLiteral("last used ") + SettingsDate::shortText(k.lastUsedAt)
                                         : QStringLiteral("added ") + SettingsDate::shortText(k.createdAt)}};
    return out;
}

void AppsSettings::connectApp(const QString& slug, const QString& apiKey, const QString& username,
                              const QString& password)
{
    for (const Connector& c : m_model.connectors())
        if (c.slug == slug)
            m_model.connect(c, apiKey, username, password);
}

void AppsSettings::addKey(const QString& slug, const QString& secret)
{
    for (const ExternalApiCatalogEntry& e : m_model.apiCatalog())
        if (e.slug == slug)
            m_model.connectApi(e, secret);
}

void AppsSettings::disconnect(const QString& accountId)
{
    for (const ConnectedAccount& a : m_model.accounts())
        if (a.id == accountId)
            m_model.disconnect(a);
}

void AppsSettings::removeKey(const QString& keyId)
{
    for (const ExternalApiKey& k : m_model.apiKeys())
        if (k.id == keyId)
            m_model.disconnectApi(k);
}

} // namespace halvex
