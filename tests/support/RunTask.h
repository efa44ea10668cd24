#pragma once
// Driving coroutines and the event loop from a test body.
//
// The real-time limits here are only guards against a hung test; no test relies on them for
// its outcome (timers inside the code under test run on a ManualClock).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <qcorotask.h>

#include <exception>
#include <functional>
#include <optional>
#include <stdexcept>
#include <type_traits>

namespace halvex::test {

inline constexpr int kHangGuardMs = 15'000;

// Runs the event loop until `task` finishes; returns its result or rethrows its exception.
template <typename T>
T runTask(QCoro::Task<T> task)
{
    QEventLoop loop;
    bool done = false;
    std::exception_ptr error;
    std::conditional_t<std::is_void_v<T>, bool, std::optional<T>> result{};

    auto drive = [](QCoro::Task<T> inner, bool& done, std::exception_ptr& error, auto& result,
                    QEventLoop& loop) -> QCoro::Task<void> {
        try {
            if constexpr (std::is_void_v<T>)
                co_await std::move(inner);
            else
                result = co_await std::move(inner);
        } catch (...) {
            error = std::current_exception();
        }
        done = true;
        loop.quit();
    };
    auto driver = drive(std::move(task), done, error, result, loop);
    if (!done) {
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
        guard.start(kHangGuardMs);
        loop.exec();
    }
    if (!done)
        throw std::runtime_error("runTask: the task did not finish (hung test)");
    if (error)
        std::rethrow_exception(error);
    if constexpr (!std::is_void_v<T>)
        return std::move(*result);
}

// Processes events until `condition` holds; false when the hang guard ran out first.
inline bool processUntil(const std::function<bool()>& condition, int guardMs = kHangGuardMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > guardMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

// Lets queued events (socket reads, deferred deletes) run without waiting for anything.
inline void drainEvents(int rounds = 20)
{
    for (int i = 0; i < rounds; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace halvex::test
