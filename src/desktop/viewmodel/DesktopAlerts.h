#pragma once
// What the desktop hears from us while the window is in the background: one notification per
// chat (a newer alert of the same chat replaces the older), shown only when the window is not
// active; activating one opens its chat through "halv.openAgent" and raises the window. It also
// keeps the launcher's unread count. GUI thread only.
#include "desktop/model/DesktopAlert.h"

#include <QHash>
#include <QObject>

#include <optional>

namespace halvex {

class AppNotifications;
class DesktopNotifications;
class LauncherEntry;

class DesktopAlerts : public QObject {
    Q_OBJECT
public:
    DesktopAlerts(DesktopNotifications& notifications, LauncherEntry& launcher, AppNotifications& appBus,
                  QObject* parent = nullptr);

    void setWindowActive(bool active);
    bool windowActive() const { return m_windowActive; }
    void alert(const DesktopAlert& alert);
    void setUnread(qint64 total);

Q_SIGNALS:
    // The user activated a notification: the window should come forward.
    void raiseRequested();

private:
    void show(const DesktopAlert& alert);
    void forget(uint id);

    DesktopNotifications& m_notifications;
    LauncherEntry& m_launcher;
    AppNotifications& m_appBus;
    bool m_windowActive = true;
    QHash<uint, QString> m_chatByNotification;
    QHash<QString, uint> m_notificationByChat;
    // A chat whose notification the server has not answered for yet holds its newest alert here
    // until it does, so the alert replaces that notification instead of adding a second.
    QHash<QString, std::optional<DesktopAlert>> m_waitingForServer;
};

} // namespace halvex
