#include "PrivateBus.h"

#include <QDBusMessage>
#include <QUuid>

namespace halvex::test {

PrivateBus::PrivateBus()
{
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                    QStringLiteral("--print-address=1")});
    // The daemon prints its address once it listens.
    if (!m_daemon.waitForStarted(10'000) || !m_daemon.waitForReadyRead(10'000))
        return;
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    const QString tag = QUuid::createUuid().toString(QUuid::Id128);
    m_clientName = QStringLiteral("client-") + tag;
    m_desktopName = QStringLiteral("desktop-") + tag;
    m_client = QDBusConnection::connectToBus(m_address, m_clientName);
    m_desktop = QDBusConnection::connectToBus(m_address, m_desktopName);
}

void PrivateBus::settle() const
{
    const QDBusMessage ping = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetId"));
    m_client.call(ping);
    m_desktop.call(ping);
}

PrivateBus::~PrivateBus()
{
    if (!m_clientName.isEmpty()) {
        QDBusConnection::disconnectFromBus(m_clientName);
        QDBusConnection::disconnectFromBus(m_desktopName);
    }
    m_daemon.kill();
    m_daemon.waitForFinished(10'000);
}

} // namespace halvex::test
