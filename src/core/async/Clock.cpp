#include "core/async/Clock.h"

#include "core/async/SystemClock.h"

namespace halvex {

void SleepAwaiter::await_suspend(std::coroutine_handle<> handle)
{
    // Whichever comes first, the timer or the cancellation, resumes the coroutine exactly once.
    m_subscription = m_token.onCancel([this, handle] {
        m_timer.reset();
        handle.resume();
    });
    m_timer = m_clock.schedule(m_ms, [this, handle] {
        m_subscription.reset();
        handle.resume();
    });
}

QCoro::Task<void> Clock::sleep(qint64 ms, CancelToken token)
{
    SleepAwaiter awaiter(*this, ms, std::move(token));
    co_await AwaitByRef<SleepAwaiter>{&awaiter};
}

Clock& Clock::system()
{
    static SystemClock clock;
    return clock;
}

} // namespace halvex
