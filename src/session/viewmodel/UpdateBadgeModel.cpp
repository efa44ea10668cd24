#include "session/viewmodel/UpdateBadgeModel.h"

#include "core/Config.h"
#include "core/async/Clock.h"
#include "core/prefs/Preferences.h"
#include "session/model/AppcastFeed.h"

#include <QCoroSignal>

namespace halvex {

UpdateBadgeModel::UpdateBadgeModel(std::optional<QUrl> feedURL, std::optional<qint64> localBuild,
                                   Preferences& preferences, Clock& clock, FeedLoader loadFeed, QObject* parent)
    : QObject(parent),
      m_feedURL(std::move(feedURL)),
      m_localBuild(localBuild),
      m_preferences(preferences),
      m_clock(clock),
      m_loadFeed(std::move(loadFeed))
{}

UpdateBadgeModel::~UpdateBadgeModel() { m_scope.cancelAll(); }

UpdateBadgeModel& UpdateBadgeModel::shared()
{
    static auto* model = new UpdateBadgeModel(QUrl(Config::updateFeedURL()), Config::buildNumber(),
                                              Preferences::shared(), Clock::system(), plainHTTPFeedLoader());
    return *model;
}

void UpdateBadgeModel::start()
{
    if (m_looping)
        return;
    m_looping = true;
    loop(m_scope.token());
}

void UpdateBadgeModel::stop()
{
    m_scope.cancelAll();
    m_looping = false;
}

QCoro::Task<void> UpdateBadgeModel::loop(CancelToken token)
{
    while (!token.isCancelled()) {
        co_await check(false, token);
        try {
            co_await m_clock.sleep(m_intervalSeconds * 1000, token);
        } catch (...) {
            co_return;
        }
    }
}

QCoro::Task<void> UpdateBadgeModel::refresh(bool force) { co_await check(force, m_scope.token()); }

QCoro::Task<void> UpdateBadgeModel::check(bool force, CancelToken token)
{
    if (m_refreshing) {
        co_await qCoro(this, &UpdateBadgeModel::refreshFinished);
        co_return;
    }
    if (!m_feedURL || !m_localBuild)
        co_return;
    const QDateTime now = m_clock.now();
    if (!force) {
        const auto last = m_preferences.updateBadgeLastCheck();
        if (last && last->msecsTo(now) < m_intervalSeconds * 1000)
            co_return;
    }
    m_preferences.setUpdateBadgeLastCheck(now); // before the download: a failing feed is not retried at once
    m_refreshing = true;
    try {
        QCoro::Task<QByteArray> pending = m_loadFeed(*m_feedURL, token);
        const QByteArray feed = co_await pending;
        if (!token.isCancelled()) {
            const auto version = AppcastFeed::advertisedVersion(QString::fromUtf8(feed), *m_localBuild);
            if (version != m_availableVersion) {
                m_availableVersion = version;
                Q_EMIT availableVersionChanged();
            }
        }
    } catch (...) {
        // A failed download keeps what was known; the badge is never an error.
    }
    m_refreshing = false;
    Q_EMIT refreshFinished();
}

} // namespace halvex
