#include "ui/settings/GuardrailsSettings.h"

#include "ui/settings/IdentitySettings.h"

namespace halvex {

GuardrailsSettings::GuardrailsSettings(APIClient& api, IdentitySettings& identity, QObject* parent)
    : QObject(parent),
      m_identity(identity),
      m_model(api)
{
    connect(&m_model, &GuardrailsSettingsModel::changed, this, &GuardrailsSettings::changed);
    connect(&m_model, &GuardrailsSettingsModel::unauthorized, this, &GuardrailsSettings::unauthorized);
    connect(&m_identity, &IdentitySettings::changed, this, &GuardrailsSettings::follow);
}

void GuardrailsSettings::open()
{
    m_open = true;
    m_identity.open();
    follow();
}

void GuardrailsSettings::follow()
{
    const QString id = m_identity.agentId();
    if (m_open && !id.isEmpty() && id != m_model.agentId())
        m_model.load(id);
}

QVariantList GuardrailsSettings::groups() const
{
    QVariantList out;
    for (const PermissionGroup& g : PermissionGroup::catalog())
        out << QVariantMap{{QStringLiteral("id"), g.id},
                           {QStringLiteral("symbol"), g.symbol},
                           {QStringLiteral("label"), g.label},
                           {QStringLiteral("detail"), g.detail},
                           {QStringLiteral("on"), m_model.isOn(g)},
                           {QStringLiteral("busy"), m_model.busyPermission() == g.id}};
    return out;
}

QVariantList GuardrailsSettings::levels() const
{
    QVariantList out;
    for (const AutonomyLevel& l : AgentMandate::autonomyLevels())
        out << QVariantMap{{QStringLiteral("n"), l.n}, {QStringLiteral("hint"), l.hint}};
    return out;
}

void GuardrailsSettings::setAfLevel(int level)
{
    m_model.draft.afLevel = qBound(0, level, 5);
    Q_EMIT changed();
}

void GuardrailsSettings::setQuoteText(const QString& text) { m_model.quoteText = text; }

void GuardrailsSettings::setDiscountText(const QString& text) { m_model.draft.maxDiscountPct = quoteFromText(text); }

QVariantList GuardrailsSettings::channels() const
{
    static const QMap<QString, QString> labels{{QStringLiteral("email"), QStringLiteral("Email")},
                                               {QStringLiteral("phone"), QStringLiteral("Phone")},
                                               {QStringLiteral("connectors"), QStringLiteral("Connected apps")}};
    QVariantList out;
    for (const QString& c : AgentMandate::channels())
        out << QVariantMap{{QStringLiteral("id"), c},
                           {QStringLiteral("label"), labels.value(c)},
                           {QStringLiteral("on"), m_model.draft.allows(c)}};
    return out;
}

void GuardrailsSettings::setStopConditions(const QString& text)
{
    QStringList list;
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            list << line.trimmed();
    m_model.draft.stopConditions = list;
}

void GuardrailsSettings::toggleGroup(const QString& id)
{
    for (const PermissionGroup& g : PermissionGroup::catalog())
        if (g.id == id)
            m_model.toggle(g);
}

} // namespace halvex
