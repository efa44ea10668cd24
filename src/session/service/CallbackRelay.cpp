#include "session/service/CallbackRelay.h"

#include "session/service/PeerCredentials.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

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

namespace {

// The socket's folder belongs to the user alone. An existing folder is tightened, so a folder
// somebody loosened does not stay open.
bool makePrivateFolder(const QString& socketPath)
{
    const QString folder = QFileInfo(socketPath).absolutePath();
    if (!QDir().mkpath(folder))
        return false;
    return QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace

QString CallbackRelay::defaultServerName()
{
    // Qt checks $XDG_RUNTIME_DIR (owned by us, 0700) and otherwise makes /tmp/runtime-<user>.
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath() + QStringLiteral("/runtime-") + QString::number(ownUserId());
    return runtime + QStringLiteral("/halvex/instance");
}

CallbackRelay::Launch CallbackRelay::claim(const QList<QUrl>& urls)
{
    if (listen())
        return Launch::first;
    return forward(m_serverName, urls) ? Launch::handedOver : Launch::failed;
}

bool CallbackRelay::listen()
{
    if (m_server->isListening())
        return true;
    // Ask first: with access options set, listening would silently replace a live socket.
    if (answers(m_serverName, 500))
        return false;
    if (QDir::isAbsolutePath(m_serverName) && !makePrivateFolder(m_serverName))
        return false;
    if (!m_server->listen(m_serverName)) {
        // A socket file left by a crashed instance answers nobody; take it over.
        QLocalServer::removeServer(m_serverName);
        if (!m_server->listen(m_serverName))
            return false;
    }
    // Read and write for the user, nothing for anyone else (connecting needs write access).
    QFile::setPermissions(m_server->fullServerName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

bool CallbackRelay::isListening() const { return m_server->isListening(); }

bool CallbackRelay::answers(const QString& serverName, int connectTimeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    const bool connected = socket.waitForConnected(connectTimeoutMs);
    socket.abort();
    return connected;
}

bool CallbackRelay::forward(const QString& serverName, const QList<QUrl>& urls, int connectTimeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(connectTimeoutMs))
        return false;
    for (const QUrl& url : urls)
        socket.write(url.toEncoded(QUrl::FullyEncoded) + '\n');
    if (urls.isEmpty())
        socket.write(QByteArray(raiseLine) + '\n');
    socket.flush();
    const bool sent = socket.waitForBytesWritten(connectTimeoutMs) || socket.bytesToWrite() == 0;
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
        // The folder and socket permissions keep others out; the kernel's word on the peer is
        // the check that does not depend on them.
        if (peerUserId(socket->socketDescriptor()) != ownUserId()) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
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
        if (line == raiseLine) {
            Q_EMIT raiseRequested();
            continue;
        }
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
