#pragma once
// Whether to show "update available", checked every four hours at most, whatever the updater
// itself does.
#include "core/async/CancelToken.h"
#include "session/service/FeedLoader.h"

#include <QObject>
#include <QUrl>

#include <optional>

namespace halvex {

class Clock;
class Preferences;

class UpdateBadgeModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString availableVersion READ availableVersionText NOTIFY availableVersionChanged)
    Q_PROPERTY(bool hasUpdate READ hasUpdate NOTIFY availableVersionChanged)
public:
    static constexpr qint64 defaultIntervalSeconds = 14'400;

    UpdateBadgeModel(std::optional<QUrl> feedURL, std::optional<qint64> localBuild, Preferences& preferences,
                     Clock& clock, FeedLoader loadFeed, QObject* parent = nullptr);
    ~UpdateBadgeModel() override;

    // The process's badge, on the build's feed and build number.
    static UpdateBadgeModel& shared();

    std::optional<QString> availableVersion() const { return m_availableVersion; }
    QString availableVersionText() const { return m_availableVersion.value_or(QString()); }
    bool hasUpdate() const { return m_availableVersion.has_value(); }
    void setInterval(qint64 seconds) { m_intervalSeconds = seconds; }

    // Starts the periodic check unless it already runs.
    void start();
    void stop();
    // Checks now when `force`, else only when the last check is older than the interval. A call
    // while a check runs waits for that check.
    QCoro::Task<void> refresh(bool force);

Q_SIGNALS:
    void availableVersionChanged();
    void refreshFinished();

private:
    QCoro::Task<void> loop(CancelToken token);
    QCoro::Task<void> check(bool force, CancelToken token);

    std::optional<QUrl> m_feedURL;
    std::optional<qint64> m_localBuild;
    Preferences& m_preferences;
    Clock& m_clock;
    FeedLoader m_loadFeed;
    qint64 m_intervalSeconds = defaultIntervalSeconds;
    std::optional<QString> m_availableVersion;
    bool m_refreshing = false;
    bool m_looping = false;
    TaskScope m_scope;
};

} // namespace halvex
