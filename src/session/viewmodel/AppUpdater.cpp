#include "session/viewmodel/AppUpdater.h"

#include "core/APIError.h"
#include "session/model/AppcastFeed.h"

namespace halvex {

AppUpdater::AppUpdater(QUrl feedURL, qint64 localBuild, FeedLoader loadFeed, URLOpener openURL, QObject* parent)
    : QObject(parent),
      m_feedURL(std::move(feedURL)),
      m_localBuild(localBuild),
      m_loadFeed(std::move(loadFeed)),
      m_openURL(std::move(openURL))
{}

QCoro::Task<void> AppUpdater::check()
{
    if (m_checking)
        co_return;
    m_checking = true;
    m_statusText = QStringLiteral("Checking for updates…");
    Q_EMIT stateChanged();
    const CancelToken token = m_scope.token();
    try {
        QCoro::Task<QByteArray> pending = m_loadFeed(m_feedURL, token);
        const QString feed = QString::fromUtf8(co_await pending);
        const auto version = AppcastFeed::advertisedVersion(feed, m_localBuild);
        if (!version) {
            finish(QStringLiteral("You’re up to date."), {});
            co_return;
        }
        const auto download = AppcastFeed::downloadURL(feed);
        finish(download
                   ? QStringLiteral("Version %1 is available.").arg(*version)
                   : QStringLiteral("Version %1 is available, but the feed gives no download address.").arg(*version),
               download.value_or(QUrl()));
    } catch (const std::exception& e) {
        if (isCancellation(e))
            co_return;
        finish(QStringLiteral("Couldn’t check for updates: %1").arg(errorText(e)), {});
    }
}

void AppUpdater::finish(QString text, QUrl download)
{
    m_checking = false;
    m_statusText = std::move(text);
    m_downloadURL = std::move(download);
    Q_EMIT stateChanged();
}

bool AppUpdater::openDownload() { return m_downloadURL.isValid() && m_openURL && m_openURL(m_downloadURL); }

} // namespace halvex
