#include "desktop/viewmodel/DesktopAlerts.h"

#include "core/prefs/AppNotifications.h"
#include "desktop/service/DesktopNotifications.h"
#include "desktop/service/LauncherEntry.h"

#include <QPointer>

namespace halvex {

DesktopAlerts::DesktopAlerts(DesktopNotifications& notifications, LauncherEntry& launcher, AppNotifications& appBus,
                             QObject* parent)
    : QObject(parent),
      m_notifications(notifications),
      m_launcher(launcher),
      m_appBus(appBus)
{
    connect(&m_notifications, &DesktopNotifications::activated, this, [this](uint id) {
        const auto chat = m_chatByNotification.constFind(id);
        if (chat == m_chatByNotification.cend())
            return; // Another program's notification, or one we already let go.
        const QString chatId = *chat;
        forget(id);
        m_appBus.post(Notification::halvOpenAgent, chatId);
        Q_EMIT raiseRequested();
    });
    connect(&m_notifications, &DesktopNotifications::closed, this, &DesktopAlerts::forget);
}

void DesktopAlerts::setWindowActive(bool active) { m_windowActive = active; }

void DesktopAlerts::alert(const DesktopAlert& alert)
{
    if (m_windowActive || alert.chatId.isEmpty())
        return;
    if (const auto waiting = m_waitingForServer.find(alert.chatId); waiting != m_waitingForServer.end()) {
        *waiting = alert;
        return;
    }
    show(alert);
}

void DesktopAlerts::show(const DesktopAlert& alert)
{
    m_waitingForServer.insert(alert.chatId, std::nullopt);
    const uint replaces = m_notificationByChat.value(alert.chatId, 0);
    QPointer<DesktopAlerts> self(this);
    m_notifications.show(alert, replaces, [self, chatId = alert.chatId](uint id) {
        if (!self)
            return;
        if (id != 0) {
            // The server may answer with a new id instead of replacing: the old one is gone either way.
            if (const uint old = self->m_notificationByChat.value(chatId, 0); old != 0 && old != id)
                self->m_chatByNotification.remove(old);
            self->m_chatByNotification.insert(id, chatId);
            self->m_notificationByChat.insert(chatId, id);
        }
        if (const std::optional<DesktopAlert> newer = self->m_waitingForServer.take(chatId))
            self->show(*newer);
    });
}

void DesktopAlerts::setUnread(qint64 total) { m_launcher.show(LauncherBadge::forUnread(total)); }

void DesktopAlerts::forget(uint id)
{
    const QString chatId = m_chatByNotification.take(id);
    if (!chatId.isEmpty() && m_notificationByChat.value(chatId) == id)
        m_notificationByChat.remove(chatId);
}

} // namespace halvex
