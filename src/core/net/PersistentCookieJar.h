#pragma once
// The process-wide cookie jar. It keeps the session cookie across runs (a file readable only by
// the user), accepts every cookie a response sets, and is shared by every network access
// manager of the process: the API client and each event stream.
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QUrl>

namespace halvex {

class PersistentCookieJar final : public QNetworkCookieJar {
    Q_OBJECT
public:
    // `filePath` empty: a jar that lives in memory only.
    explicit PersistentCookieJar(QString filePath, QObject* parent = nullptr);

    // The jar of the process, stored in the user's application data folder.
    static PersistentCookieJar& shared();
    static QString defaultFilePath();

    // Deletes the cookies called `name` that would be sent to `origin`; returns how many.
    int deleteCookies(const QString& name, const QUrl& origin);
    QList<QNetworkCookie> allCookies() const { return QNetworkCookieJar::allCookies(); }

    bool setCookiesFromUrl(const QList<QNetworkCookie>& cookies, const QUrl& url) override;
    bool deleteCookie(const QNetworkCookie& cookie) override;

protected:
    bool validateCookie(const QNetworkCookie& cookie, const QUrl& url) const override;

private:
    void load();
    void save() const;
    QString m_filePath;
};

} // namespace halvex
