#pragma once
// Programs the service runs beside itself: a decoder or a speech synthesiser for one request,
// or a browser that lives as long as a session. A child never outlives the thread that started
// it, and one that is still running when its owner goes is ended with its whole process group.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace service {

// The full path of `program` when it is installed (on PATH or as given), else nothing.
std::optional<std::string> findProgram(const std::string& program);

struct RunResult {
    bool started = false;
    bool timedOut = false;
    bool truncated = false; // more than `maxOutput` bytes came out; the rest was dropped
    int exitCode = -1;
    std::string output; // what it wrote to standard output
};

// Runs `argv` to its end: `input` goes to its standard input, standard error is discarded. A
// child still running after `timeout` is killed.
RunResult runProgram(const std::vector<std::string>& argv, const std::string& input, std::chrono::milliseconds timeout,
                     size_t maxOutput);

// A long-running child whose standard error the owner reads (a browser prints where it listens
// there). Ended with SIGTERM, then SIGKILL, when the object goes.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool start(const std::vector<std::string>& argv);
    // Reads standard error until a line containing `marker` arrives; answers that line, or
    // nothing when the child ended or the time ran out first.
    std::optional<std::string> awaitLine(const std::string& marker, std::chrono::milliseconds timeout);
    bool running();
    void stop();
    int pid() const { return m_pid; }

private:
    int m_pid = -1;
    int m_stderr = -1;
    std::string m_pending;
};

} // namespace service
