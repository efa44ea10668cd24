#include "support/ServiceProcess.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <csignal>
#include <sys/prctl.h>

namespace halvex::test {

ServiceProcess::~ServiceProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool ServiceProcess::start(QStringList extraArgs)
{
    const QString binary = qEnvironmentVariable("HALVEX_SERVICE_BIN");
    if (binary.isEmpty() || !m_data.isValid())
        return false;
    QStringList args{QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--data"), m_data.path(),
                     QStringLiteral("--seed-demo"), QStringLiteral("--pace-ms"), QStringLiteral("0"),
                     QStringLiteral("--test-mode"), QStringLiteral("--fast-hash")};
    args += extraArgs;
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A test that aborts never runs its destructors; the service must not outlive it.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_process.start(binary, args);
    if (!m_process.waitForStarted(10000))
        return false;
    // Bounds only the process start-up; the demo line follows the listening line.
    QDeadlineTimer deadline(10000);
    const QByteArray listening("listening on ");
    const QByteArray demo("demo account: ");
    while (!deadline.hasExpired() && (m_origin.isEmpty() || m_demoEmail.isEmpty())) {
        if (!m_process.canReadLine() && !m_process.waitForReadyRead(int(deadline.remainingTime())))
            break;
        while (m_process.canReadLine()) {
            const QByteArray line = m_process.readLine().trimmed();
            if (line.startsWith(listening))
                m_origin = QUrl(QString::fromUtf8(line.mid(listening.size())));
            else if (line.startsWith(demo)) {
                const QList<QByteArray> parts = line.mid(demo.size()).split(' ');
                if (parts.size() >= 2) {
                    m_demoEmail = QString::fromUtf8(parts[0]);
                    m_demoPassword = QString::fromUtf8(parts[1]);
                }
            }
        }
    }
    return m_origin.isValid() && !m_origin.isEmpty();
}

bool ServiceProcess::setFaults(const QByteArray& json)
{
    QNetworkAccessManager manager;
    QUrl url = m_origin;
    url.setPath(QStringLiteral("/__test/faults"));
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    QNetworkReply* reply = manager.post(request, json);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const bool ok = reply->error() == QNetworkReply::NoError;
    reply->deleteLater();
    return ok;
}

} // namespace halvex::test
