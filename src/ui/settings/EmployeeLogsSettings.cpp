#include "ui/settings/EmployeeLogsSettings.h"

#include "core/format/SettingsDate.h"
#include "ui/settings/IdentitySettings.h"

namespace halvex {

namespace {

QString duration(const std::optional<int>& seconds)
{
    if (!seconds || *seconds < 0)
        return {};
    return QString::number(*seconds / 60) + QLatin1Char(':') + QString::number(*seconds % 60).rightJustified(2, u'0');
}

} // namespace

EmployeeLogsSettings::EmployeeLogsSettings(APIClient& api, IdentitySettings& identity, QObject* parent)
    : QObject(parent),
      m_identity(identity),
      m_audit(api),
      m_recordings(api)
{
    for (EmployeeLogModel* model :
         {static_cast<EmployeeLogModel*>(&m_audit), static_cast<EmployeeLogModel*>(&m_recordings)}) {
        connect(model, &EmployeeLogModel::changed, this, &EmployeeLogsSettings::changed);
        connect(model, &EmployeeLogModel::unauthorized, this, &EmployeeLogsSettings::unauthorized);
    }
    connect(&m_identity, &IdentitySettings::changed, this, &EmployeeLogsSettings::follow);
}

void EmployeeLogsSettings::open(const QString& section)
{
    m_section = section;
    m_identity.open();
    follow();
}

void EmployeeLogsSettings::follow()
{
    const QString id = m_identity.agentId();
    if (id.isEmpty())
        return;
    if (m_section == u"audit")
        m_audit.load(id);
    else if (m_section == u"recordings")
        m_recordings.load(id);
}

bool EmployeeLogsSettings::loading() const
{
    return m_section == u"audit" ? m_audit.isLoading() : m_recordings.isLoading();
}

QString EmployeeLogsSettings::error() const
{
    return (m_section == u"audit" ? m_audit.error() : m_recordings.error()).value_or(QString());
}

QVariantList EmployeeLogsSettings::runs() const
{
    QVariantList out;
    for (const WorkflowRun& r : m_audit.runs())
        out << QVariantMap{
            {QStringLiteral("id"), r.id},
            {QStringLiteral("status"), r.status.value_or(QString())},
            {QStringLiteral("trigger"), r.triggerType.value_or(QString())},
            {QStringLiteral("started"), SettingsDate::shortText(r.startedAt ? r.startedAt : r.createdAt)},
            {QStringLiteral("finished"), r.finishedAt ? SettingsDate::shortText(r.finishedAt) : QString()},
            {QStringLiteral("error"), r.errorMessage.value_or(QString())}};
    return out;
}

QVariantList EmployeeLogsSettings::calls() const
{
    QVariantList out;
    for (const VoiceCallRecord& c : m_recordings.calls())
        out << QVariantMap{{QStringLiteral("id"), c.id},
                           {QStringLiteral("title"), c.title.value_or(QStringLiteral("Call"))},
                           {QStringLiteral("status"), c.status.value_or(QString())},
                           {QStringLiteral("started"), SettingsDate::shortText(c.startedAt)},
                           {QStringLiteral("duration"), duration(c.durationSecs)},
                           {QStringLiteral("snippet"), c.snippet.value_or(QString())}};
    return out;
}

} // namespace halvex
