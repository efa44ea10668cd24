#pragma once
// The desktop's notification server (org.freedesktop.Notifications) on a session bus. Shows
// an alert with a default action and reports which notification the user activated. Without a
// server on the bus nothing is shown and nothing fails.
#include "desktop/model/DesktopAlert.h"

#include <QDBusConnection>
#include <QObject>

#include <functional>

namespace halvex {

class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    static inline const QString serviceName = QStringLiteral("org.freedesktop.Notifications");
    static inline const QString objectPath = QStringLiteral("/org/freedesktop/Notifications");
    // Activating a notification's body invokes this action.
    static inline const QString defaultAction = QStringLiteral("default");

    // `appId` names the launcher entry and the icon.
    DesktopNotifications(QDBusConnection bus, QString appId, QObject* parent = nullptr);

    // Shows `alert` in place of notification `replaces` (0: a new one); `onShown` gets the
    // server's id for it, or 0 when the server refused, is absent or did not answer in time.
    void show(const DesktopAlert& alert, uint replaces, std::function<void(uint)> onShown);
    void close(uint id);

Q_SIGNALS:
    void activated(uint id);
    void closed(uint id);

private Q_SLOTS:
    void onActionInvoked(uint id, const QString& action);
    void onClosed(uint id, uint reason);

private:
    QDBusConnection m_bus;
    QString m_appId;
};

} // namespace halvex
