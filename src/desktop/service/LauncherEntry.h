#pragma once
// The unread count on the application's launcher entry, for docks and panels that read the
// com.canonical.Unity.LauncherEntry signal. Desktops without such a launcher ignore it.
#include "desktop/model/DesktopAlert.h"

#include <QDBusConnection>

#include <optional>

namespace halvex {

class LauncherEntry {
public:
    static inline const QString interfaceName = QStringLiteral("com.canonical.Unity.LauncherEntry");

    LauncherEntry(QDBusConnection bus, const QString& appId);

    // Sends the badge when it differs from the last one sent.
    void show(LauncherBadge badge);

private:
    QDBusConnection m_bus;
    QString m_appUri;
    std::optional<LauncherBadge> m_shown;
};

} // namespace halvex
