#pragma once
// The live half of workers: one thread per running run, and the ticker that starts scheduled
// runs. A run's steps wait here for the service clock; moving the clock, a cancel or shutting
// down wakes them at once. Requests that start, cancel or move the clock answer only once every
// run has caught up, so what they answer is what the store holds.
#include "core/Service.h"

#include <condition_variable>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace service {

class WorkerRuntime {
public:
    enum class Stop { none, cancelled, shutdown };
    struct Live {
        std::string runId;
        std::string agentId;
        Stop stop = Stop::none;
        long long settledEpoch = -1; // the clock epoch it last waited in; -1 before its first wait
        bool finished = false;
        std::thread thread;
    };

    explicit WorkerRuntime(Service& s) : m_s(s) {}
    // Stops every run (each ends as an error) and the ticker, and joins their threads.
    ~WorkerRuntime();
    WorkerRuntime(const WorkerRuntime&) = delete;
    WorkerRuntime& operator=(const WorkerRuntime&) = delete;

    void startTicker();
    // Runs the stored queued run; answers once it shows its first step or has ended.
    void launch(const std::string& runId, const std::string& agentId);
    // Stops the run and waits until it has; false when it is not running here.
    bool cancel(const std::string& runId);
    // Stops every run of the worker and waits until they have.
    void stopRunsOf(const std::string& agentId);
    // The service clock moved: starts the runs that became due and lets every run catch up.
    void clockMoved();

    // For the executor: waits until the service clock reaches `dueAt`. Answers why it stopped
    // waiting early, or Stop::none when the time came.
    Stop waitUntil(Live& run, long long dueAt);

private:
    // The run's thread, or an empty one when the system has no thread to give.
    std::thread startThread(Live& run);
    void tick();
    void awaitSettled(const std::function<bool(const Live&)>& which);
    std::list<std::unique_ptr<Live>> takeFinished();

    Service& m_s;
    std::mutex m_lock;
    std::condition_variable m_wake;    // executors and the ticker wait on it
    std::condition_variable m_settled; // requests waiting for runs to catch up
    long long m_epoch = 0;             // moves on with every clock change
    bool m_stopping = false;
    std::list<std::unique_ptr<Live>> m_runs;
    std::thread m_ticker;
};

// Created by addWorkerRoutes before the server takes requests; nothing when workers are off.
inline WorkerRuntime* workerRuntime(Service& s) { return s.workers.get(); }

} // namespace service
