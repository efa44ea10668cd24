#include "core/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace service {

namespace {

using Clock = std::chrono::steady_clock;

// Forks and executes `argv` in a process group of its own. Between fork and exec only system
// calls run: the parent has other threads whose locks the child must not touch.
int spawn(const std::vector<std::string>& argv, int stdinFd, int stdoutFd, int stderrFd)
{
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(127);
    const int devNull = open("/dev/null", O_RDWR);
    dup2(stdinFd >= 0 ? stdinFd : devNull, 0);
    dup2(stdoutFd >= 0 ? stdoutFd : devNull, 1);
    dup2(stderrFd >= 0 ? stderrFd : devNull, 2);
    for (int fd = 3; fd < 1024; ++fd)
        close(fd);
    execv(args[0], args.data());
    _exit(127);
}

void killGroup(int pid)
{
    if (pid <= 0)
        return;
    kill(-pid, SIGKILL);
    kill(pid, SIGKILL);
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {}
}

int remainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : int(left);
}

struct Pipe {
    int read = -1, write = -1;
    bool open()
    {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            return false;
        read = fds[0];
        write = fds[1];
        return true;
    }
    ~Pipe()
    {
        if (read >= 0)
            close(read);
        if (write >= 0)
            close(write);
    }
    static void drop(int& fd)
    {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
};

} // namespace

std::optional<std::string> findProgram(const std::string& program)
{
    auto executable = [](const std::string& path) {
        struct stat st {};
        return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
    };
    if (program.find('/') != std::string::npos)
        return executable(program) ? std::optional(program) : std::nullopt;
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string candidate = dirs.substr(start, end - start) + "/" + program;
        if (end > start && executable(candidate))
            return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

RunResult runProgram(const std::vector<std::string>& argv, const std::string& input, std::chrono::milliseconds timeout,
                     size_t maxOutput)
{
    RunResult result;
    Pipe in, out;
    if (argv.empty() || !in.open() || !out.open())
        return result;
    const int pid = spawn(argv, in.read, out.write, -1);
    Pipe::drop(in.read);
    Pipe::drop(out.write);
    if (pid < 0)
        return result;
    result.started = true;
    fcntl(in.write, F_SETFL, O_NONBLOCK);
    size_t written = 0;
    if (input.empty())
        Pipe::drop(in.write);
    const auto deadline = Clock::now() + timeout;
    char buffer[65536];
    while (out.read >= 0) {
        pollfd fds[2] = {{out.read, POLLIN, 0}, {in.write, POLLOUT, 0}};
        const int n = poll(fds, in.write >= 0 ? 2 : 1, remainingMs(deadline));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            result.timedOut = true;
            break;
        }
        if (in.write >= 0 && (fds[1].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const ssize_t w = write(in.write, input.data() + written, input.size() - written);
            if (w > 0)
                written += size_t(w);
            if (w < 0 && errno != EAGAIN)
                written = input.size();
            if (written >= input.size())
                Pipe::drop(in.write);
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            const ssize_t r = read(out.read, buffer, sizeof buffer);
            if (r <= 0) {
                if (r < 0 && errno == EINTR)
                    continue;
                break;
            }
            if (result.output.size() + size_t(r) > maxOutput) {
                result.truncated = true;
                break;
            }
            result.output.append(buffer, size_t(r));
        }
    }
    if (result.timedOut || result.truncated) {
        killGroup(pid);
        return result;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

ChildProcess::~ChildProcess() { stop(); }

bool ChildProcess::start(const std::vector<std::string>& argv)
{
    Pipe err;
    if (argv.empty() || !err.open())
        return false;
    // Once the owner stops reading, a full pipe makes the child's writes fail rather than wait.
    fcntl(err.write, F_SETFL, O_NONBLOCK);
    m_pid = spawn(argv, -1, -1, err.write);
    if (m_pid < 0)
        return false;
    std::swap(m_stderr, err.read);
    return true;
}

std::optional<std::string> ChildProcess::awaitLine(const std::string& marker, std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    char buffer[4096];
    while (m_stderr >= 0) {
        for (size_t end; (end = m_pending.find('\n')) != std::string::npos;) {
            std::string line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            if (line.find(marker) != std::string::npos)
                return line;
        }
        pollfd fd{m_stderr, POLLIN, 0};
        const int n = poll(&fd, 1, remainingMs(deadline));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return std::nullopt;
        const ssize_t r = read(m_stderr, buffer, sizeof buffer);
        if (r <= 0) {
            Pipe::drop(m_stderr);
            return std::nullopt;
        }
        m_pending.append(buffer, size_t(r));
        if (m_pending.size() > 1 << 20)
            m_pending.erase(0, m_pending.size() - 4096);
    }
    return std::nullopt;
}

bool ChildProcess::running()
{
    if (m_pid <= 0)
        return false;
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_pid = -1;
        return false;
    }
    return true;
}

void ChildProcess::stop()
{
    Pipe::drop(m_stderr);
    if (m_pid <= 0)
        return;
    // A browser given a moment closes its helpers and profile itself; then nothing is left.
    kill(-m_pid, SIGTERM);
    for (int i = 0; i < 20; ++i) {
        if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
            kill(-m_pid, SIGKILL);
            m_pid = -1;
            return;
        }
        usleep(50'000);
    }
    killGroup(m_pid);
    m_pid = -1;
}

} // namespace service
