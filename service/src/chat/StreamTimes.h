#pragma once
// When each stream event was written, for the latency benchmark: "<message id> <monotonic ns>"
// per frame, the time being when the event was published to the chat's streams, appended to the
// file named by --stream-times as the frame goes out (a frame whose write fails may still have
// its line). The monotonic clock is the machine's, so a client on the same machine can subtract
// its own reading from it. Off unless named.
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>

namespace service {

class StreamTimes {
public:
    explicit StreamTimes(const std::string& path);
    ~StreamTimes();
    StreamTimes(const StreamTimes&) = delete;
    StreamTimes& operator=(const StreamTimes&) = delete;

    // `at`: when the event was published.
    void record(long long id, std::chrono::steady_clock::time_point at);

private:
    std::mutex m_lock;
    std::FILE* m_file = nullptr;
};

} // namespace service
