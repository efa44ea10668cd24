#pragma once
// "Check for Updates…": fetches the update feed and, when it offers a newer build, offers to
// open its download address in the browser. The platform has no updater framework here, so
// this is all the updating the app does itself.
#include "core/async/CancelToken.h"
#include "session/service/FeedLoader.h"

#include <QObject>
#include <QUrl>

#include <functional>

namespace halvex {

class AppUpdater : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool checking READ checking NOTIFY stateChanged)
    Q_PROPERTY(QString statusText READ statusText NOTIFY stateChanged)
    Q_PROPERTY(bool updateAvailable READ updateAvailable NOTIFY stateChanged)
public:
    using URLOpener = std::function<bool(const QUrl&)>;

    AppUpdater(QUrl feedURL, qint64 localBuild, FeedLoader loadFeed, URLOpener openURL, QObject* parent = nullptr);

    bool checking() const { return m_checking; }
    QString statusText() const { return m_statusText; }
    bool updateAvailable() const { return m_downloadURL.isValid(); }
    QUrl downloadURL() const { return m_downloadURL; }

    Q_INVOKABLE void checkForUpdates() { check(); }
    QCoro::Task<void> check();
    // Opens the offered download in the default browser.
    Q_INVOKABLE bool openDownload();

Q_SIGNALS:
    void stateChanged();

private:
    void finish(QString text, QUrl download);

    QUrl m_feedURL;
    qint64 m_localBuild;
    FeedLoader m_loadFeed;
    URLOpener m_openURL;
    bool m_checking = false;
    QString m_statusText;
    QUrl m_downloadURL;
    TaskScope m_scope;
};

} // namespace halvex
