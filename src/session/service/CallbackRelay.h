#pragma once
// One running copy per user. A second launch finds the first through a local socket in the
// user's runtime folder and hands over what it was started with, then exits: the addresses the
// desktop opened it with (the browser's Google redirect among them, passed on to
// `GoogleAuthService::handleCallback`), or, with none, a request to raise the window.
//
// Only the user reaches the socket: its folder is 0700, the socket itself 0600, and a peer whose
// user id differs from ours is refused even if the permissions were loosened.
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
    // What a launch without addresses sends: raise the running window.
    static constexpr const char* raiseLine = "raise";

    explicit CallbackRelay(QString serverName = defaultServerName(), QObject* parent = nullptr);
    ~CallbackRelay() override;

    // "<runtime folder>/halvex/instance": $XDG_RUNTIME_DIR when it is usable, else the private
    // folder Qt makes for the user under the temporary folder.
    static QString defaultServerName();

    enum class Launch { first, handedOver, failed };
    // What a launch does: becomes the running instance (`first`), or hands `urls` to the one
    // running (`handedOver`, the launch then exits); `failed` when neither works.
    Launch claim(const QList<QUrl>& urls);

    // Becomes the running instance. False when another running instance already listens.
    bool listen();
    bool isListening() const;
    // Hands `urls` (or, with none, a request to raise the window) to the running instance; false
    // when no instance answers.
    static bool forward(const QString& serverName, const QList<QUrl>& urls, int connectTimeoutMs = 2000);

    // The addresses among a program's arguments (those with a scheme), in order.
    static QList<QUrl> urlsInArguments(const QStringList& arguments);

Q_SIGNALS:
    void urlReceived(const QUrl& url);
    void raiseRequested();

private:
    void accept();
    void read(QLocalSocket* socket);
    static bool answers(const QString& serverName, int connectTimeoutMs);

    QString m_serverName;
    QLocalServer* m_server;
    QHash<QLocalSocket*, QByteArray> m_buffers;
};

} // namespace halvex
