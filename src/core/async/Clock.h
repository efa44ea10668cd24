#pragma once
// Every sleep, timer, poll, back-off and time-out goes through a Clock so that tests can run
// minutes of polling in microseconds on a ManualClock.
#include "core/async/CancelToken.h"

#include <QDateTime>

#include <qcorotask.h>

#include <coroutine>
#include <functional>
#include <memory>

namespace halvex {

// A scheduled callback; destroying the handle cancels it.
class TimerHandle {
public:
    virtual ~TimerHandle() = default;
};

class Clock {
public:
    virtual ~Clock() = default;

    // Wall-clock time, for timestamps and expiry checks.
    virtual QDateTime now() const = 0;
    // Milliseconds on a steady clock, for intervals and deadlines.
    virtual qint64 monotonicMs() const = 0;
    // Calls `callback` once after `ms` milliseconds on the thread that owns the clock.
    [[nodiscard]] virtual std::unique_ptr<TimerHandle> schedule(qint64 ms, std::function<void()> callback) = 0;

    // Suspends for `ms` milliseconds. Throws APIError::cancelled() when `token` is cancelled
    // before or during the sleep.
    QCoro::Task<void> sleep(qint64 ms, CancelToken token = {});

    // The real clock of the process.
    static Clock& system();
};

// Awaits an awaitable that lives in a named variable. GCC 12 copies an awaited lvalue and may
// destroy an awaited temporary twice; this shell is trivially copyable, so neither hurts.
template <typename Awaiter>
struct AwaitByRef {
    Awaiter* awaiter;
    bool await_ready() const { return awaiter->await_ready(); }
    void await_suspend(std::coroutine_handle<> handle) { awaiter->await_suspend(handle); }
    decltype(auto) await_resume() const { return awaiter->await_resume(); }
};

// Awaitable behind Clock::sleep; usable directly where a Task would be one allocation too many.
class SleepAwaiter {
public:
    SleepAwaiter(Clock& clock, qint64 ms, CancelToken token) : m_clock(clock), m_ms(ms), m_token(std::move(token)) {}
    bool await_ready() const { return m_token.isCancelled(); }
    void await_suspend(std::coroutine_handle<> handle);
    void await_resume() const { m_token.throwIfCancelled(); }

private:
    Clock& m_clock;
    qint64 m_ms;
    CancelToken m_token;
    std::unique_ptr<TimerHandle> m_timer;
    CancelSubscription m_subscription;
};

} // namespace halvex
