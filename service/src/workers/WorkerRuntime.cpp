#include "workers/WorkerRuntime.h"

#include "google/ServiceClock.h"
#include "workers/RunExecutor.h"
#include "workers/Scheduler.h"

#include <chrono>
#include <cstdio>
#include <system_error>

namespace service {

namespace {

// A request never waits longer than this for runs to catch up, whatever happens to them.
constexpr auto kCatchUpLimit = std::chrono::seconds(5);
// Between wake-ups an executor re-reads the clock, so runs move on in real time too.
constexpr auto kRecheck = std::chrono::milliseconds(200);

} // namespace

WorkerRuntime::~WorkerRuntime()
{
    std::list<std::unique_ptr<Live>> runs;
    {
        std::lock_guard guard(m_lock);
        m_stopping = true;
        for (auto& run : m_runs)
            if (run->stop == Stop::none)
                run->stop = Stop::shutdown;
    }
    m_wake.notify_all();
    if (m_ticker.joinable())
        m_ticker.join();
    {
        // Executors take the lock to finish, so the list is moved out only once they all have.
        std::unique_lock lock(m_lock);
        m_settled.wait(lock, [&] {
            for (const auto& run : m_runs)
                if (!run->finished)
                    return false;
            return true;
        });
        runs.splice(runs.end(), m_runs);
    }
    for (auto& run : runs)
        if (run->thread.joinable())
            run->thread.join();
}

void WorkerRuntime::startTicker()
{
    m_ticker = std::thread([this] {
        auto next = std::chrono::steady_clock::now();
        for (;;) {
            next += std::chrono::seconds(1);
            {
                std::unique_lock lock(m_lock);
                if (m_wake.wait_until(lock, next, [&] { return m_stopping; }))
                    return;
            }
            tick();
        }
    });
}

std::list<std::unique_ptr<WorkerRuntime::Live>> WorkerRuntime::takeFinished()
{
    std::list<std::unique_ptr<Live>> done;
    for (auto it = m_runs.begin(); it != m_runs.end();) {
        auto here = it++;
        if ((*here)->finished)
            done.splice(done.end(), m_runs, here);
    }
    return done;
}

void WorkerRuntime::launch(const std::string& runId, const std::string& agentId)
{
    std::list<std::unique_ptr<Live>> finished;
    const Live* live = nullptr;
    {
        std::lock_guard guard(m_lock);
        finished = takeFinished();
        if (!m_stopping) {
            auto run = std::make_unique<Live>();
            run->runId = runId;
            run->agentId = agentId;
            run->thread = startThread(*run);
            // Once the lock is let go a finished run may be reaped, so `live` is only compared.
            if (run->thread.joinable()) {
                live = run.get();
                m_runs.push_back(std::move(run));
            }
        }
    }
    for (auto& run : finished)
        run->thread.join();
    if (!live)
        return abandonRun(m_s, runId);
    awaitSettled([&](const Live& run) { return &run == live; });
}

std::thread WorkerRuntime::startThread(Live& run)
{
    try {
        return std::thread([this, live = &run] {
            try {
                executeRun(m_s, *this, *live);
            } catch (const std::exception& e) {
                // A run that cannot be stored ends here, as an error when even that can be written.
                std::fprintf(stderr, "run %s stopped: %s\n", live->runId.c_str(), e.what());
                try {
                    abandonRun(m_s, live->runId);
                } catch (const std::exception&) {}
            }
            std::lock_guard done(m_lock);
            live->finished = true;
            m_settled.notify_all();
        });
    } catch (const std::system_error& e) {
        std::fprintf(stderr, "run %s not started: %s\n", run.runId.c_str(), e.what());
        return {};
    }
}

bool WorkerRuntime::cancel(const std::string& runId)
{
    std::unique_lock lock(m_lock);
    Live* live = nullptr;
    for (auto& run : m_runs)
        if (run->runId == runId && !run->finished)
            live = run.get();
    if (!live)
        return false;
    if (live->stop == Stop::none)
        live->stop = Stop::cancelled;
    m_wake.notify_all();
    m_settled.wait_for(lock, kCatchUpLimit, [&] { return live->finished; });
    return true;
}

void WorkerRuntime::stopRunsOf(const std::string& agentId)
{
    std::unique_lock lock(m_lock);
    for (auto& run : m_runs)
        if (run->agentId == agentId && run->stop == Stop::none)
            run->stop = Stop::cancelled;
    m_wake.notify_all();
    m_settled.wait_for(lock, kCatchUpLimit, [&] {
        for (const auto& run : m_runs)
            if (run->agentId == agentId && !run->finished)
                return false;
        return true;
    });
}

void WorkerRuntime::clockMoved()
{
    {
        std::lock_guard guard(m_lock);
        ++m_epoch;
    }
    m_wake.notify_all();
    tick();
    awaitSettled([](const Live&) { return true; });
}

WorkerRuntime::Stop WorkerRuntime::waitUntil(Live& run, long long dueAt)
{
    std::unique_lock lock(m_lock);
    for (;;) {
        // The clock is read under the lock: a clock change either happened before this read, or
        // its new epoch is not yet the one recorded here, and the mover waits for the next round.
        if (run.stop != Stop::none)
            return run.stop;
        if (serviceNow(m_s) >= dueAt)
            return Stop::none;
        run.settledEpoch = m_epoch;
        m_settled.notify_all();
        m_wake.wait_for(lock, kRecheck);
    }
}

void WorkerRuntime::tick()
{
    try {
        for (const auto& [runId, agentId] : workers::startDueRuns(m_s))
            launch(runId, agentId);
    } catch (const std::exception& e) {
        // The next tick tries again; a schedule that cannot be read must not end the ticker.
        std::fprintf(stderr, "schedule check failed: %s\n", e.what());
    }
}

void WorkerRuntime::awaitSettled(const std::function<bool(const Live&)>& which)
{
    std::unique_lock lock(m_lock);
    m_settled.wait_for(lock, kCatchUpLimit, [&] {
        for (const auto& run : m_runs)
            if (which(*run) && !run->finished && run->settledEpoch != m_epoch)
                return false;
        return true;
    });
}

} // namespace service
