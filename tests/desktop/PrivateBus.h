#pragma once
// A session bus of the test's own (dbus-daemon started for the fixture), with one connection
// for the code under test and one for the fake desktop services, so nothing reaches the real
// desktop of whoever runs the tests.
#include <QDBusConnection>
#include <QProcess>
#include <QString>

namespace halvex::test {

class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    QString address() const { return m_address; }
    bool isValid() const { return m_client.isConnected() && m_desktop.isConnected(); }
    // The connection the code under test uses.
    QDBusConnection client() const { return m_client; }
    // The connection the fake services own their names on.
    QDBusConnection desktop() const { return m_desktop; }
    // Returns once the daemon has taken every match rule and name sent so far on both
    // connections: it handles a connection's messages in order, so a round trip on each will do.
    void settle() const;

private:
    QProcess m_daemon;
    QString m_address;
    QDBusConnection m_client{QString()};
    QDBusConnection m_desktop{QString()};
    QString m_clientName;
    QString m_desktopName;
};

} // namespace halvex::test
