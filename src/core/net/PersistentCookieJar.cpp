#include "core/net/PersistentCookieJar.h"

#include "core/async/Clock.h"
#include "core/net/KeychainSecretStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkCookie>
#include <QPointer>
#include <QSaveFile>
#include <QStandardPaths>

namespace halvex {
namespace {

// Cookies read back from their raw form; expired ones are dropped, one without an expiry stays
// until it is deleted.
QList<QNetworkCookie> parseStored(const QByteArray& text)
{
    QList<QNetworkCookie> cookies;
    const auto now = QDateTime::currentDateTimeUtc();
    for (const QByteArray& line : text.split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        for (const auto& cookie : QNetworkCookie::parseCookies(line)) {
            if (!cookie.isSessionCookie() && cookie.expirationDate() < now)
                continue;
            cookies.append(cookie);
        }
    }
    return cookies;
}

} // namespace

PersistentCookieJar::PersistentCookieJar(QString filePath, QObject* parent)
    : QNetworkCookieJar(parent),
      m_filePath(std::move(filePath))
{
    load();
}

PersistentCookieJar::PersistentCookieJar(QString filePath, SecretStore& store, QByteArray secretName, Clock& clock,
                                         QObject* parent)
    : QNetworkCookieJar(parent),
      m_filePath(std::move(filePath)),
      m_store(&store),
      m_secretName(std::move(secretName)),
      m_secretState(SecretState::waiting)
{
    load();
    m_readDeadline = clock.schedule(secretReadTimeoutMs, [this] { stopWaiting(SecretState::fileOnly); });
    QPointer<PersistentCookieJar> self(this);
    store.read([self](SecretStore::Outcome outcome, const QByteArray& secret) {
        if (self)
            self->secretRead(outcome, secret);
    });
}

PersistentCookieJar::~PersistentCookieJar() = default;

PersistentCookieJar& PersistentCookieJar::shared()
{
    // Never destroyed: network managers keep pointers to it until the process ends. Tests keep
    // away from the user's secret store as they keep away from the user's files.
    if (QStandardPaths::isTestModeEnabled()) {
        static auto* jar = new PersistentCookieJar(defaultFilePath());
        return *jar;
    }
    static auto* store = new KeychainSecretStore(QStringLiteral("Halvex"), QStringLiteral("session-cookie"));
    static auto* jar = new PersistentCookieJar(defaultFilePath(), *store, "hx-v2-session", Clock::system());
    return *jar;
}

QString PersistentCookieJar::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/cookies");
}

bool PersistentCookieJar::validateCookie(const QNetworkCookie&, const QUrl&) const
{
    // Accept policy "always": the service may set cookies for its own parent domain.
    return true;
}

bool PersistentCookieJar::setCookiesFromUrl(const QList<QNetworkCookie>& cookies, const QUrl& url)
{
    const bool changed = QNetworkCookieJar::setCookiesFromUrl(cookies, url);
    if (changed) {
        noteChange(cookies);
        save();
    }
    return changed;
}

bool PersistentCookieJar::deleteCookie(const QNetworkCookie& cookie)
{
    const bool deleted = QNetworkCookieJar::deleteCookie(cookie);
    if (deleted) {
        noteChange({cookie});
        save();
    }
    return deleted;
}

int PersistentCookieJar::deleteCookies(const QString& name, const QUrl& origin)
{
    int count = 0;
    for (const auto& cookie : cookiesForUrl(origin)) {
        if (cookie.name() == name.toUtf8()) {
            // cookiesForUrl leaves domain and path as stored, so this matches the stored cookie.
            if (QNetworkCookieJar::deleteCookie(cookie)) {
                noteChange({cookie});
                ++count;
            }
        }
    }
    if (count > 0)
        save();
    return count;
}

void PersistentCookieJar::load()
{
    if (m_filePath.isEmpty())
        return;
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // A stored cookie keeps its domain.
    setAllCookies(parseStored(file.readAll()));
}

void PersistentCookieJar::save()
{
    if (m_secretState != SecretState::inStore) {
        writeFile(true);
        return;
    }
    if (serializedSecret() == m_storedSecret) {
        writeFile(false);
        return;
    }
    // Until the store confirms, the file keeps the secret too: a failed or lost write costs nothing.
    writeFile(true);
    storeSecret();
}

void PersistentCookieJar::storeSecret()
{
    if (m_writing)
        return; // The write in flight compares again when it ends.
    m_writing = true;
    const QByteArray secret = serializedSecret();
    QPointer<PersistentCookieJar> self(this);
    m_store->write(secret, [self, secret](bool stored) {
        if (!self)
            return;
        self->m_writing = false;
        if (self->m_secretState != SecretState::inStore)
            return;
        if (!stored) {
            // The store refused: from now on the file keeps the session, as without a store.
            self->m_secretState = SecretState::fileOnly;
            self->writeFile(true);
            return;
        }
        self->m_storedSecret = secret;
        if (self->serializedSecret() != secret)
            self->storeSecret();
        else
            self->writeFile(false);
    });
}

void PersistentCookieJar::secretRead(SecretStore::Outcome outcome, const QByteArray& secret)
{
    if (m_secretState == SecretState::fileOnly) {
        // The answer came after we stopped waiting: a session the file lacks is still worth having.
        if (outcome == SecretStore::Outcome::found && !m_secretChangedWhileWaiting && serializedSecret().isEmpty()) {
            replaceSecretCookies(secret);
            writeFile(true);
        }
        return;
    }
    if (m_secretState != SecretState::waiting)
        return;
    m_readDeadline.reset();
    switch (outcome) {
    case SecretStore::Outcome::found:
        m_storedSecret = secret;
        // A copy in the file is at least as new: it is removed only once the store has the same.
        if (!m_secretChangedWhileWaiting && serializedSecret().isEmpty())
            replaceSecretCookies(secret);
        break;
    case SecretStore::Outcome::missing:
        m_storedSecret = QByteArray();
        break;
    case SecretStore::Outcome::unavailable:
        stopWaiting(SecretState::fileOnly);
        return;
    }
    stopWaiting(SecretState::inStore);
    // Moves a copy from the file into the store (the first run with a store) or tidies the file.
    save();
}

void PersistentCookieJar::stopWaiting(SecretState state)
{
    if (m_secretState != SecretState::waiting)
        return;
    m_secretState = state;
    Q_EMIT ready();
}

void PersistentCookieJar::noteChange(const QList<QNetworkCookie>& cookies)
{
    if (m_secretState != SecretState::waiting && m_secretState != SecretState::fileOnly)
        return;
    for (const auto& cookie : cookies) {
        if (isSecret(cookie))
            m_secretChangedWhileWaiting = true;
    }
}

QByteArray PersistentCookieJar::serializedSecret() const
{
    QByteArray text;
    for (const auto& cookie : allCookies()) {
        if (isSecret(cookie))
            text += cookie.toRawForm(QNetworkCookie::Full) + '\n';
    }
    return text;
}

void PersistentCookieJar::replaceSecretCookies(const QByteArray& serialized)
{
    QList<QNetworkCookie> cookies;
    for (const auto& cookie : allCookies()) {
        if (!isSecret(cookie))
            cookies.append(cookie);
    }
    for (const auto& cookie : parseStored(serialized)) {
        if (isSecret(cookie))
            cookies.append(cookie);
    }
    setAllCookies(cookies);
}

void PersistentCookieJar::writeFile(bool withSecret) const
{
    if (m_filePath.isEmpty())
        return;
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly))
        return; // A full disk or read-only folder costs persistence, never the running session.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    for (const auto& cookie : allCookies()) {
        if (!withSecret && isSecret(cookie))
            continue;
        file.write(cookie.toRawForm(QNetworkCookie::Full));
        file.write("\n");
    }
    file.commit();
}

} // namespace halvex
