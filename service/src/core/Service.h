#pragma once
// State shared by every route: options, the store, fault switches and sign-in throttling.
#include "core/Database.h"
#include "core/Options.h"

#include <atomic>
#include <ctime>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace service {

inline constexpr const char* kCookie = "hx-v2-session";
inline constexpr const char* kDemoEmail = "demo@halvex.local";
inline constexpr const char* kDemoPassword = "demo-password";

struct Faults {
    std::mutex lock;
    int latencyMs = 0;
    int failCount = 0;
    int failStatus = 500;
    std::string failError = "Injected failure";
    int dropNext = 0;

    // Event stream switches; message events only, "ready" and "ping" are never counted.
    int streamDropAfter = 0;         // close every connection after this many events (0: off)
    int streamFailCount = 0;         // refuse this many connections…
    long long streamFailUntilMs = 0; // …or every connection until this steady-clock time
    int streamFailStatus = 503;
    int streamDelayMs = 0;       // hold each event this long before writing it
    int streamDuplicateNext = 0; // deliver the next events twice
    int streamReorderNext = 0;   // deliver the next events after the one that follows them
};

struct ChatRuntime;
class WorkerRuntime;
class VoiceRuntime;
class ComputerRuntime;

struct Service {
    Options opt;
    std::unique_ptr<Database> db;
    Faults faults;
    std::mutex attemptsLock;
    std::map<std::string, std::deque<std::time_t>> failedSignIns;
    int port = 0;
    // Tests move the service's clock forward to expire codes and tokens without waiting.
    std::atomic<long long> clockOffsetSeconds{0};
    // Live chat state (stream hub, goal setups); created when the chat routes are added.
    std::shared_ptr<ChatRuntime> chat;
    // Worker runs and the schedule ticker; created when the worker routes are added. Declared
    // after them so it goes first: its threads stop while the store and the chat are still open.
    std::shared_ptr<WorkerRuntime> workers;
    // Live calls (recognition and speech on a thread of their own) and the employees' browsers
    // (child processes). Declared after the workers so they go before them: every thread and
    // child is gone while the store is still open.
    std::shared_ptr<VoiceRuntime> voice;
    std::shared_ptr<ComputerRuntime> computer;

    std::string origin() const { return "http://127.0.0.1:" + std::to_string(port); }
};

} // namespace service
