#include "FakeDesktop.h"

namespace halvex::test {

FakeNotificationServer::FakeNotificationServer(QDBusConnection bus) : m_bus(std::move(bus))
{
    m_registered = m_bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                                        QDBusConnection::ExportScriptableSlots)
        && m_bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
}

uint FakeNotificationServer::Notify(const QString& appName, uint replaces, const QString& icon, const QString& summary,
                                    const QString& body, const QStringList& actions, const QVariantMap& hints, int)
{
    const uint id = replaces != 0 ? replaces : ++m_nextId;
    shown.append({id, replaces, appName, icon, summary, body, actions, hints});
    return id;
}

void FakeNotificationServer::CloseNotification(uint id) { closedByApp.append(id); }

void FakeNotificationServer::invoke(uint id, const QString& action)
{
    signal(QStringLiteral("ActionInvoked"), {id, action});
}

void FakeNotificationServer::dismiss(uint id) { signal(QStringLiteral("NotificationClosed"), {id, 2u}); }

void FakeNotificationServer::signal(const QString& name, const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                                      QStringLiteral("org.freedesktop.Notifications"), name);
    message.setArguments(arguments);
    m_bus.send(message);
}

FakeDock::FakeDock(QDBusConnection bus)
{
    bus.connect(QString(), QString(), QStringLiteral("com.canonical.Unity.LauncherEntry"), QStringLiteral("Update"),
                this, SLOT(onUpdate(QString, QVariantMap)));
}

FakeSettingsPortal::FakeSettingsPortal(QDBusConnection bus, uint colorScheme)
    : colorScheme(colorScheme),
      m_bus(std::move(bus))
{
    m_registered = m_bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), this,
                                        QDBusConnection::ExportScriptableSlots)
        && m_bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
}

QDBusVariant FakeSettingsPortal::Read(const QString& group, const QString& key)
{
    ++reads;
    if (group != u"org.freedesktop.appearance" || key != u"color-scheme")
        return QDBusVariant(QVariant::fromValue(QDBusVariant(QString())));
    // The settings portal's Read wraps the value in a second variant.
    return QDBusVariant(QVariant::fromValue(QDBusVariant(colorScheme)));
}

void FakeSettingsPortal::change(const QString& group, const QString& key, uint value)
{
    QDBusMessage message = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/portal/desktop"),
                                                      QStringLiteral("org.freedesktop.portal.Settings"),
                                                      QStringLiteral("SettingChanged"));
    message << group << key << QVariant::fromValue(QDBusVariant(value));
    m_bus.send(message);
}

} // namespace halvex::test
