#include "support/ServiceProcess.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace halvex::test {

bool ServiceProcess::start(QStringList extraArgs)
{
    LocalServiceLauncher::Options options;
    for (const QString& arg : extraArgs)
        options.extraArgs.push_back(arg.toStdString());
    if (!m_launcher.start(qEnvironmentVariable("HALVEX_SERVICE_BIN").toStdString(), options))
        return false;
    m_origin = QUrl(QString::fromStdString(m_launcher.origin()));
    return m_origin.isValid();
}

bool ServiceProcess::setFaults(const QByteArray& json) { return postTest(QStringLiteral("/__test/faults"), json); }

bool ServiceProcess::advanceClock(int seconds)
{
    return postTest(QStringLiteral("/__test/clock"), "{\"advance_seconds\":" + QByteArray::number(seconds) + "}");
}

bool ServiceProcess::postTest(const QString& path, const QByteArray& json)
{
    QNetworkAccessManager manager;
    QUrl url = m_origin;
    url.setPath(path);
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
