#include "session/service/CallbackRelay.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace halvex {

CallbackRelay::CallbackRelay(QString serverName, QObject* parent)
    : QObject(parent),
      m_serverName(std::move(serverName)),
      m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &CallbackRelay::accept);
}

CallbackRelay::~CallbackRelay() = default;

QString CallbackRelay::defaultServerName()
{
    const QByteArray home = QCryptographicHash::hash(QDir::homePath().toUtf8(), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("halvex-callback-") + QString::fromLatin1(home.left(16));
}

bool CallbackRelay::listen()
{
    if (m_server->isListening())
        return true;
    // Ask first: with access options set, listening would silently replace a live socket.
    if (forward(m_serverName, {}, 500))
        return false;
    if (m_server->listen(m_serverName))
        return true;
    // A socket file left by a crashed instance answers nobody; take it over.
    QLocalServer::removeServer(m_serverName);
    return m_server->listen(m_serverName);
}

bool CallbackRelay::isListening() const { return m_server->isListening(); }

bool CallbackRelay::forward(const QString& serverName, const QList<QUrl>& urls, int connectTimeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(connectTimeoutMs))
        return false;
    for (const QUrl& url : urls)
        socket.write(url.toEncoded(QUrl::FullyEncoded) + '\n');
    socket.flush();
    const bool sent = urls.isEmpty() || socket.waitForBytesWritten(connectTimeoutMs) || socket.bytesToWrite() == 0;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(connectTimeoutMs);
    return sent;
}

QList<QUrl> CallbackRelay::urlsInArguments(const QStringList& arguments)
{
    QList<QUrl> urls;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QUrl url(arguments.at(i), QUrl::StrictMode);
        if (url.isValid() && !url.scheme().isEmpty() && !arguments.at(i).startsWith(QLatin1Char('-')))
            urls.append(url);
    }
    return urls;
}

void CallbackRelay::accept()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        m_buffers.insert(socket, {});
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            read(socket);
            m_buffers.remove(socket);
            socket->deleteLater();
        });
        read(socket);
    }
}

void CallbackRelay::read(QLocalSocket* socket)
{
    auto it = m_buffers.find(socket);
    if (it == m_buffers.end())
        return;
    QByteArray& buffer = *it;
    buffer += socket->readAll();
    qsizetype newline;
    while ((newline = buffer.indexOf('\n')) >= 0) {
        const QByteArray line = buffer.left(newline).trimmed();
        buffer.remove(0, newline + 1);
        const QUrl url = QUrl::fromEncoded(line, QUrl::StrictMode);
        if (url.isValid() && !url.scheme().isEmpty())
            Q_EMIT urlReceived(url);
    }
    if (buffer.size() > maxLineBytes) {
        m_buffers.remove(socket);
        socket->abort();
        socket->deleteLater();
    }
}

} // namespace halvex
