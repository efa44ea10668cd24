#pragma once
// The desktop's light or dark preference, read from the settings portal
// (org.freedesktop.portal.Settings, "org.freedesktop.appearance" "color-scheme") and followed
// as it changes. Without a portal the preference stays unknown.
#include <QDBusConnection>
#include <QDBusVariant>
#include <QObject>

namespace halvex {

enum class DesktopColorScheme { noPreference, dark, light };

class ColorSchemePortal : public QObject {
    Q_OBJECT
public:
    static inline const QString serviceName = QStringLiteral("org.freedesktop.portal.Desktop");
    static inline const QString objectPath = QStringLiteral("/org/freedesktop/portal/desktop");
    static inline const QString interfaceName = QStringLiteral("org.freedesktop.portal.Settings");
    static inline const QString appearance = QStringLiteral("org.freedesktop.appearance");
    static inline const QString colorSchemeKey = QStringLiteral("color-scheme");

    explicit ColorSchemePortal(QDBusConnection bus, QObject* parent = nullptr);

    // Asks the portal once; `changed` follows when it answers. Later changes arrive by themselves.
    void read();
    DesktopColorScheme scheme() const { return m_scheme; }

    // The portal's number: 1 prefers dark, 2 prefers light, anything else no preference.
    static DesktopColorScheme fromPortalValue(const QVariant& value);

Q_SIGNALS:
    void changed();

private Q_SLOTS:
    void onSettingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    void apply(DesktopColorScheme scheme);

    QDBusConnection m_bus;
    DesktopColorScheme m_scheme = DesktopColorScheme::noPreference;
    // A change signalled while the first read is on its way is newer than that read's answer.
    bool m_heardChange = false;
};

} // namespace halvex
