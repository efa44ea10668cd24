#include "core/prefs/Preferences.h"

namespace halvex {

Preferences& Preferences::shared()
{
    static auto* preferences = [] {
        auto* p = new Preferences(QString());
        return p;
    }();
    return *preferences;
}

Preferences::Preferences(const QString& filePath, QObject* parent)
    : QObject(parent),
      m_settings(filePath.isEmpty() ? std::make_unique<QSettings>()
                                    : std::make_unique<QSettings>(filePath, QSettings::IniFormat))
{}

QVariant Preferences::value(const QString& key, const QVariant& fallback) const
{
    return m_settings->value(key, fallback);
}

void Preferences::setValue(const QString& key, const QVariant& value)
{
    if (m_settings->contains(key) && m_settings->value(key) == value)
        return;
    m_settings->setValue(key, value);
    Q_EMIT changed(key);
}

void Preferences::remove(const QString& key)
{
    if (!m_settings->contains(key))
        return;
    m_settings->remove(key);
    Q_EMIT changed(key);
}

QString Preferences::themeMode() const { return value(PreferenceKey::themeMode, QStringLiteral("light")).toString(); }
void Preferences::setThemeMode(const QString& mode) { setValue(PreferenceKey::themeMode, mode); }

bool Preferences::sidebarCollapsed() const { return value(PreferenceKey::sidebarCollapsed, false).toBool(); }
void Preferences::setSidebarCollapsed(bool collapsed) { setValue(PreferenceKey::sidebarCollapsed, collapsed); }

double Preferences::browserPanelWidth() const
{
    bool ok = false;
    const double width = value(PreferenceKey::browserPanelWidth, 520.0).toDouble(&ok);
    return ok ? width : 520.0;
}
void Preferences::setBrowserPanelWidth(double width) { setValue(PreferenceKey::browserPanelWidth, width); }

QString Preferences::collapsedSections() const { return value(PreferenceKey::collapsedSections, QString()).toString(); }
void Preferences::setCollapsedSections(const QString& v) { setValue(PreferenceKey::collapsedSections, v); }

QString Preferences::expandedTeams() const { return value(PreferenceKey::expandedTeams, QString()).toString(); }
void Preferences::setExpandedTeams(const QString& v) { setValue(PreferenceKey::expandedTeams, v); }

bool Preferences::teamFocusMode() const { return value(PreferenceKey::teamFocusMode, false).toBool(); }
void Preferences::setTeamFocusMode(bool on) { setValue(PreferenceKey::teamFocusMode, on); }

QStringList Preferences::modelChatIds() const
{
    return value(PreferenceKey::modelChatIds, QStringList()).toStringList();
}
void Preferences::setModelChatIds(const QStringList& ids) { setValue(PreferenceKey::modelChatIds, ids); }

std::optional<QString> Preferences::settingsAgentId() const
{
    const QVariant v = value(PreferenceKey::settingsAgentId);
    return v.isValid() ? std::optional<QString>(v.toString()) : std::nullopt;
}
void Preferences::setSettingsAgentId(const std::optional<QString>& id)
{
    if (id)
        setValue(PreferenceKey::settingsAgentId, *id);
    else
        remove(PreferenceKey::settingsAgentId);
}

std::optional<QDateTime> Preferences::updateBadgeLastCheck() const
{
    const QDateTime t = value(PreferenceKey::updateBadgeLastCheck).toDateTime();
    return t.isValid() ? std::optional<QDateTime>(t) : std::nullopt;
}
void Preferences::setUpdateBadgeLastCheck(const QDateTime& time)
{
    setValue(PreferenceKey::updateBadgeLastCheck, time);
}

} // namespace halvex
