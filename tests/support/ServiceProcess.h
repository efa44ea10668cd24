#pragma once
// Runs the real local service on a free loopback port for end-to-end tests.
#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

namespace halvex::test {

class ServiceProcess {
public:
    ServiceProcess() = default;
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    bool start(QStringList extraArgs = {});
    QUrl origin() const { return m_origin; }
    QString demoEmail() const { return m_demoEmail; }
    QString demoPassword() const { return m_demoPassword; }
    bool setFaults(const QByteArray& json);

private:
    QProcess m_process;
    QTemporaryDir m_data;
    QUrl m_origin;
    QString m_demoEmail;
    QString m_demoPassword;
};

} // namespace halvex::test
