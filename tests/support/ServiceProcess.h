#pragma once
// Runs the real local service on a free loopback port for end-to-end tests: the Qt face of
// LocalServiceLauncher. The binary comes from the HALVEX_SERVICE_BIN environment variable.
#include "support/LocalServiceLauncher.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace halvex::test {

class ServiceProcess {
public:
    ServiceProcess() = default;
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    bool start(QStringList extraArgs = {});
    QUrl origin() const { return m_origin; }
    QString demoEmail() const { return QString::fromStdString(m_launcher.demoEmail()); }
    QString demoPassword() const { return QString::fromStdString(m_launcher.demoPassword()); }
    bool setFaults(const QByteArray& json);
    // Moves the service's clock on (test mode): schedules and paced runs see the time pass.
    bool advanceClock(int seconds);

    // POSTs `json` to one of the service's test-mode routes ("/__test/…").
    bool postTest(const QString& path, const QByteArray& json);

private:
    LocalServiceLauncher m_launcher;
    QUrl m_origin;
};

} // namespace halvex::test
