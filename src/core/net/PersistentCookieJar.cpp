#include "core/net/PersistentCookieJar.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkCookie>
#include <QSaveFile>
#include <QStandardPaths>

namespace halvex {

PersistentCookieJar::PersistentCookieJar(QString filePath, QObject* parent)
    : QNetworkCookieJar(parent),
      m_filePath(std::move(filePath))
{
    load();
}

PersistentCookieJar& PersistentCookieJar::shared()
{
    // Never destroyed: network managers keep pointers to it until the process ends.
    static auto* jar = new PersistentCookieJar(defaultFilePath());
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
    if (changed)
        save();
    return changed;
}

bool PersistentCookieJar::deleteCookie(const QNetworkCookie& cookie)
{
    const bool deleted = QNetworkCookieJar::deleteCookie(cookie);
    if (deleted)
        save();
    return deleted;
}

int PersistentCookieJar::deleteCookies(const QString& name, const QUrl& origin)
{
    int count = 0;
    for (const auto& cookie : cookiesForUrl(origin)) {
        if (cookie.name() == name.toUtf8()) {
            // cookiesForUrl leaves domain and path as stored, so this matches the stored cookie.
            if (QNetworkCookieJar::deleteCookie(cookie))
                ++count;
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
    QList<QNetworkCookie> cookies;
    const auto now = QDateTime::currentDateTimeUtc();
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        for (const auto& cookie : QNetworkCookie::parseCookies(line)) {
            // A stored cookie keeps its domain; one without an expiry stays until it is deleted.
            if (!cookie.isSessionCookie() && cookie.expirationDate() < now)
                continue;
            cookies.append(cookie);
        }
    }
    setAllCookies(cookies);
}

void PersistentCookieJar::save() const
{
    if (m_filePath.isEmpty())
        return;
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly))
        return; // A full disk or read-only folder costs persistence, never the running session.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    for (const auto& cookie : allCookies()) {
        file.write(cookie.toRawForm(QNetworkCookie::Full));
        file.write("\n");
    }
    file.commit();
}

} // namespace halvex
