#include "core/async/SystemClock.h"
#include <algorithm>

#include <QPointer>
#include <QTimer>

namespace halvex {

namespace {

class QtTimerHandle final : public TimerHandle {
public:
    QtTimerHandle(qint64 ms, std::function<void()> callback) : m_timer(new QTimer)
    {
        m_timer->setSingleShot(true);
        m_timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(m_timer, &QTimer::timeout, m_timer, [cb = std::move(callback)] { cb(); });
        m_timer->start(static_cast<int>(std::clamp<qint64>(ms, 0, std::numeric_limits<int>::max())));
    }
    ~QtTimerHandle() override
    {
        // The handle may be dropped from inside its own timeout: delete the timer later.
        if (m_timer) {
            m_timer->stop();
            m_timer->deleteLater();
        }
    }

private:
    QPointer<QTimer> m_timer;
};

} // namespace

SystemClock::SystemClock() { m_elapsed.start(); }

QDateTime SystemClock::now() const { return QDateTime::currentDateTimeUtc(); }

qint64 SystemClock::monotonicMs() const { return m_elapsed.elapsed(); }

std::unique_ptr<TimerHandle> SystemClock::schedule(qint64 ms, std::function<void()> callback)
{
    return std::make_unique<QtTimerHandle>(ms, std::move(callback));
}

} // namespace halvex
