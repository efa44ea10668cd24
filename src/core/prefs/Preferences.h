#pragma once
// The local preferences: the only state kept on disk besides the cookie jar. Stored in the
// user's configuration folder through QSettings; every key starts with "hx-".
#include <QDateTime>
#include <QObject>
#include <QSettings>
#include <QStringList>

#include <memory>
#include <optional>

namespace halvex {

namespace PreferenceKey {
inline const QString themeMode = QStringLiteral("hx-theme-mode");
inline const QString sidebarCollapsed = QStringLiteral("hx-sidebar-collapsed");
inline const QString browserPanelWidth = QStringLiteral("hx-browser-panel-width");
inline const QString collapsedSections = QStringLiteral("hx-collapsed-sections");
inline const QString expandedTeams = QStringLiteral("hx-expanded-teams");
inline const QString teamFocusMode = QStringLiteral("hx-team-focus-mode");
inline const QString modelChatIds = QStringLiteral("hx-model-chat-ids");
inline const QString settingsAgentId = QStringLiteral("hx-settings-agent-id");
inline const QString updateBadgeLastCheck = QStringLiteral("hx-update-badge-last-check");
} // namespace PreferenceKey

class Preferences : public QObject {
    Q_OBJECT
public:
    // The user's own store.
    static Preferences& shared();
    // A store in `filePath` (tests use a temporary file).
    explicit Preferences(const QString& filePath, QObject* parent = nullptr);

    QString themeMode() const;
    void setThemeMode(const QString& mode);
    // Only "gray" selects the dark scheme.
    bool prefersDarkScheme() const { return themeMode() == QLatin1String("gray"); }

    bool sidebarCollapsed() const;
    void setSidebarCollapsed(bool collapsed);
    double browserPanelWidth() const;
    void setBrowserPanelWidth(double width);
    QString collapsedSections() const;
    void setCollapsedSections(const QString& value);
    QString expandedTeams() const;
    void setExpandedTeams(const QString& value);
    bool teamFocusMode() const;
    void setTeamFocusMode(bool on);
    QStringList modelChatIds() const;
    void setModelChatIds(const QStringList& ids);
    std::optional<QString> settingsAgentId() const;
    void setSettingsAgentId(const std::optional<QString>& id);
    std::optional<QDateTime> updateBadgeLastCheck() const;
    void setUpdateBadgeLastCheck(const QDateTime& time);

    // Generic access for keys owned by other screens.
    QVariant value(const QString& key, const QVariant& fallback = {}) const;
    void setValue(const QString& key, const QVariant& value);
    void remove(const QString& key);

Q_SIGNALS:
    void changed(const QString& key);

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace halvex
