#pragma once
// One long-lived server-sent event response, reopened after every end with a capped
// exponential back-off until it is stopped or the service answers 401.
//
// Everything runs on the thread that owns the stream (the GUI thread): callbacks are called
// there, and they may stop, restart or destroy the stream from inside.
#include "core/async/CancelToken.h"
#include "core/net/sse/SSEFrameParser.h"

#include <QObject>
#include <QUrl>

#include <qcorotask.h>

#include <functional>
#include <memory>

class QNetworkAccessManager;
class QNetworkCookieJar;

namespace halvex {

class Clock;

class EventStream {
public:
    static constexpr qint64 idleTimeoutMs = 35'000;
    static constexpr int maxBackoffSeconds = 30;

    // Null collaborators mean the deployment's origin, the process-wide cookie jar and the
    // system clock.
    explicit EventStream(QUrl origin = {}, QNetworkCookieJar* jar = nullptr, Clock* clock = nullptr);
    ~EventStream();
    EventStream(const EventStream&) = delete;
    EventStream& operator=(const EventStream&) = delete;

    std::function<void(const SSERawEvent&)> onEvent;
    std::function<void()> onReconnect;    // before each reconnection, never before the first
    std::function<void()> onUnauthorized; // once; the stream has then ended for good

    // Ends any earlier loop and starts one for `path` (under the origin, no query).
    void start(const QString& path);
    void stop();
    bool isRunning() const { return m_running; }

private:
    enum class Outcome { ended, failed, unauthorized };
    QCoro::Task<void> run(QUrl url, CancelToken token);
    QCoro::Task<Outcome> attempt(QUrl url, CancelToken token);

    QUrl m_origin;
    QString m_originText;
    QNetworkCookieJar* m_jar;
    Clock* m_clock;
    CancelSource m_source;
    bool m_running = false;
};

} // namespace halvex
