#include "desktop/service/DesktopNotifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace halvex {
namespace {

const QString interfaceName = QStringLiteral("org.freedesktop.Notifications");
// A notification server that hangs must not pile up calls for long.
constexpr int callTimeoutMs = 5'000;

} // namespace

DesktopNotifications::DesktopNotifications(QDBusConnection bus, QString appId, QObject* parent)
    : QObject(parent),
      m_bus(std::move(bus)),
      m_appId(std::move(appId))
{
    m_bus.connect(serviceName, objectPath, interfaceName, QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(serviceName, objectPath, interfaceName, QStringLiteral("NotificationClosed"), this,
                  SLOT(onClosed(uint, uint)));
}

void DesktopNotifications::show(const DesktopAlert& alert, uint replaces, std::function<void(uint)> onShown)
{
    QDBusMessage call
        = QDBusMessage::createMethodCall(serviceName, objectPath, interfaceName, QStringLiteral("Notify"));
    const QVariantMap hints{
        {QStringLiteral("desktop-entry"), m_appId},
        {QStringLiteral("category"),
         alert.kind == DesktopAlertKind::turnFinished ? QStringLiteral("im.received") : QStringLiteral("im")},
        {QStringLiteral("urgency"), QVariant::fromValue<uchar>(alert.kind == DesktopAlertKind::turnFinished ? 1 : 2)},
    };
    call << QStringLiteral("Halvex") << replaces << m_appId << alert.summary() << alert.body()
         << QStringList{defaultAction, QStringLiteral("Open")} << hints << -1;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, callTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, onShown = std::move(onShown)] {
        watcher->deleteLater();
        const QDBusPendingReply<uint> reply = *watcher;
        if (onShown)
            onShown(reply.isValid() ? reply.value() : 0);
    });
}

void DesktopNotifications::close(uint id)
{
    QDBusMessage call
        = QDBusMessage::createMethodCall(serviceName, objectPath, interfaceName, QStringLiteral("CloseNotification"));
    call << id;
    m_bus.asyncCall(call, callTimeoutMs);
}

void DesktopNotifications::onActionInvoked(uint id, const QString& action)
{
    if (action == defaultAction)
        Q_EMIT activated(id);
}

void DesktopNotifications::onClosed(uint id, uint) { Q_EMIT closed(id); }

} // namespace halvex
