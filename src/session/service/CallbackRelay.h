#pragma once
// Single-instance hand-over of addresses the desktop opens with this program. The browser's
// Google redirect starts a second copy of the program with the address as its argument; that copy
// forwards it here over a local socket and exits, and the running copy passes it on to
// `GoogleAuthService::handleCallback`.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

class QLocalServer;
class QLocalSocket;

namespace halvex {

class CallbackRelay : public QObject {
    Q_OBJECT
public:
    // A line longer than this is not an address we sent; the connection is dropped.
    static constexpr qsizetype maxLineBytes = 16 * 1024;

    explicit CallbackRelay(QString serverName = defaultServerName(), QObject* parent = nullptr);
    ~CallbackRelay() override;

    // One name per user account, so two users on one machine do not meet.
    static QString defaultServerName();

    // Becomes the running instance. False when another running instance already listens.
    bool listen();
    bool isListening() const;
    // Hands `urls` to the running instance; false when no instance answers.
    static bool forward(const QString& serverName, const QList<QUrl>& urls, int connectTimeoutMs = 2000);

    // The addresses among a program's arguments (those with a scheme), in order.
    static QList<QUrl> urlsInArguments(const QStringList& arguments);

Q_SIGNALS:
    void urlReceived(const QUrl& url);

private:
    void accept();
    void read(QLocalSocket* socket);

    QString m_serverName;
    QLocalServer* m_server;
    QHash<QLocalSocket*, QByteArray> m_buffers;
};

} // namespace halvex
