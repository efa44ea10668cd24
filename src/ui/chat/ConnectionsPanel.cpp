#include "ui/chat/ConnectionsPanel.h"

namespace halvex {

ConnectionsPanel::ConnectionsPanel(QString agentId, QString agentName, APIClient& api, QObject* parent)
    : QObject(parent),
      m_model(api, std::move(agentId), std::move(agentName))
{
    connect(&m_model, &ChatConnectionsModel::changed, this, &ConnectionsPanel::changed);
    connect(&m_model, &ChatConnectionsModel::unauthorized, this, &ConnectionsPanel::unauthorized);
}

QString ConnectionsPanel::email() const
{
    const auto c = m_model.emailChannel();
    return c ? c->displayName.value_or(c->metadata.value(QStringLiteral("address")).toString()) : QString();
}

QString ConnectionsPanel::phone() const
{
    const auto c = m_model.phoneChannel();
    return c ? c->displayName.value_or(c->metadata.value(QStringLiteral("phone_number")).toString()) : QString();
}

QVariantList ConnectionsPanel::carriers() const
{
    QVariantList out;
    for (const ChannelProvider& p : ChannelCatalog::carriers())
        out << QVariantMap{{QStringLiteral("id"), p.id},
                           {QStringLiteral("label"), p.label},
                           {QStringLiteral("blurb"), p.blurb}};
    return out;
}

void ConnectionsPanel::setCarrierId(const QString& id)
{
    if (!ChannelCatalog::carrier(id) || id == m_model.phoneProviderId)
        return;
    m_model.phoneProviderId = id;
    m_model.phoneFields.clear(); // a secret typed for one carrier never goes to another
    Q_EMIT changed();
}

QVariantList ConnectionsPanel::fields() const
{
    QVariantList out;
    if (const ChannelProvider* p = ChannelCatalog::carrier(m_model.phoneProviderId))
        for (const ChannelField& f : p->fields)
            out << QVariantMap{{QStringLiteral("key"), f.key},
                               {QStringLiteral("label"), f.label},
                               {QStringLiteral("placeholder"), f.placeholder},
                               {QStringLiteral("secure"), f.secure},
                               {QStringLiteral("optional"), f.optional},
                               {QStringLiteral("value"), m_model.phoneFields.value(f.key)}};
    return out;
}

QVariantList ConnectionsPanel::accounts() const
{
    QVariantList out;
    for (const ConnectedAccount& a : m_model.accounts())
        out << QVariantMap{{QStringLiteral("name"), a.name()},
                           {QStringLiteral("status"), a.status.value_or(QString())}};
    return out;
}

} // namespace halvex
