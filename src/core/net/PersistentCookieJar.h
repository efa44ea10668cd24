#pragma once
// The process-wide cookie jar. It keeps the session cookie across runs (a file readable only by
// the user), accepts every cookie a response sets, and is shared by every network access
// manager of the process: the API client and each event stream.
//
// Given a secret store, the cookies of one name (the session's) live there instead of in the
// file, and every other cookie behaves as before. The file keeps a copy until the store has
// confirmed each change, and the store's first answer is awaited at most `secretReadTimeoutMs`:
// a store that hangs or fails costs the file fallback, never a lost session or a stuck start.
#include "core/net/SecretStore.h"

#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QUrl>

#include <memory>

namespace halvex {

class Clock;
class TimerHandle;

class PersistentCookieJar final : public QNetworkCookieJar {
    Q_OBJECT
public:
    static constexpr qint64 secretReadTimeoutMs = 3'000;

    // `filePath` empty: a jar that lives in memory only.
    explicit PersistentCookieJar(QString filePath, QObject* parent = nullptr);
    // The cookies called `secretName` go to `store` when it answers.
    PersistentCookieJar(QString filePath, SecretStore& store, QByteArray secretName, Clock& clock,
                        QObject* parent = nullptr);
    ~PersistentCookieJar() override;

    // The jar of the process, stored in the user's application data folder, its session cookie
    // in the Secret Service when the desktop has one.
    static PersistentCookieJar& shared();
    static QString defaultFilePath();

    // False while the secret store's first answer is awaited; `ready` follows.
    bool isReady() const { return m_secretState != SecretState::waiting; }
    // Whether the secret cookies are kept in the store (rather than the file) now.
    bool secretInStore() const { return m_secretState == SecretState::inStore; }

    // Deletes the cookies called `name` that would be sent to `origin`; returns how many.
    int deleteCookies(const QString& name, const QUrl& origin);
    QList<QNetworkCookie> allCookies() const { return QNetworkCookieJar::allCookies(); }

    bool setCookiesFromUrl(const QList<QNetworkCookie>& cookies, const QUrl& url) override;
    bool deleteCookie(const QNetworkCookie& cookie) override;

Q_SIGNALS:
    void ready();

protected:
    bool validateCookie(const QNetworkCookie& cookie, const QUrl& url) const override;

private:
    enum class SecretState { noStore, waiting, inStore, fileOnly };

    void load();
    void save();
    void writeFile(bool withSecret) const;
    void secretRead(SecretStore::Outcome outcome, const QByteArray& secret);
    void stopWaiting(SecretState state);
    void storeSecret();
    void noteChange(const QList<QNetworkCookie>& cookies);
    bool isSecret(const QNetworkCookie& cookie) const
    {
        return !m_secretName.isEmpty() && cookie.name() == m_secretName;
    }
    QByteArray serializedSecret() const;
    void replaceSecretCookies(const QByteArray& serialized);

    QString m_filePath;
    SecretStore* m_store = nullptr;
    QByteArray m_secretName;
    SecretState m_secretState = SecretState::noStore;
    // What the store holds as far as we know; unknown until it first answers.
    std::optional<QByteArray> m_storedSecret;
    // The session changed before the store answered: its answer is older than what we hold.
    bool m_secretChangedWhileWaiting = false;
    bool m_writing = false;
    std::unique_ptr<TimerHandle> m_readDeadline;
};

} // namespace halvex
