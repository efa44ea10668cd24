#include "support/LocalServiceLauncher.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace halvex::test {

namespace {

constexpr auto kStartGuard = std::chrono::seconds(10);

} // namespace

LocalServiceLauncher::~LocalServiceLauncher() { stop(SIGTERM); }

bool LocalServiceLauncher::start(const std::string& binary, const Options& options)
{
    if (m_pid > 0 || binary.empty())
        return false;
    m_ownsDir = options.dataDir.empty();
    if (m_ownsDir) {
        std::string pattern = (std::filesystem::temp_directory_path() / "halvex-svc-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            return false;
        m_dataDir = pattern;
    } else {
        m_dataDir = options.dataDir;
    }
    std::vector<std::string> args{binary, "--port", "0", "--data", m_dataDir};
    if (options.testDefaults)
        for (const char* a : {"--seed-demo", "--pace-ms", "0", "--test-mode", "--fast-hash"})
            args.emplace_back(a);
    args.insert(args.end(), options.extraArgs.begin(), options.extraArgs.end());
    bool seeds = false;
    for (const auto& a : args)
        seeds |= a == "--seed-demo";

    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return false;
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) {
        close(pipeFds[0]);
        close(pipeFds[1]);
        return false;
    }
    if (pid == 0) {
        // A test that aborts never runs its destructors; the service must not outlive it.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(binary.c_str(), argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    m_stdout = pipeFds[0];
    m_pid = pid;
    if (readStartLines(seeds))
        return true;
    stop(SIGKILL);
    return false;
}

// Reads whole lines until the ones that say the service is ready, within the start guard.
bool LocalServiceLauncher::readStartLines(bool expectDemo)
{
    const auto deadline = std::chrono::steady_clock::now() + kStartGuard;
    const std::string listening = "listening on ", demo = "demo account: ";
    while (m_listening.empty() || (expectDemo && m_demoEmail.empty())) {
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd p{m_stdout, POLLIN, 0};
        if (poll(&p, 1, int(left.count())) <= 0)
            return false;
        char buf[512];
        const ssize_t n = read(m_stdout, buf, sizeof buf);
        if (n <= 0)
            return false;
        m_pending.append(buf, size_t(n));
        for (size_t end; (end = m_pending.find('\n')) != std::string::npos; m_pending.erase(0, end + 1)) {
            const std::string line = m_pending.substr(0, end);
            if (line.rfind(listening, 0) == 0) {
                m_listening = line;
                m_port = std::atoi(line.c_str() + line.rfind(':') + 1);
            } else if (line.rfind(demo, 0) == 0) {
                const std::string rest = line.substr(demo.size());
                const auto space = rest.find(' ');
                m_demoEmail = rest.substr(0, space);
                m_demoPassword = space == std::string::npos ? std::string() : rest.substr(space + 1);
            }
        }
    }
    return m_port > 0;
}

void LocalServiceLauncher::stop(int signal)
{
    if (m_pid > 0) {
        kill(m_pid, signal);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = 0;
    }
    if (m_stdout >= 0)
        close(m_stdout);
    m_stdout = -1;
    if (m_ownsDir && !m_dataDir.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(m_dataDir, ec);
        m_ownsDir = false;
    }
}

} // namespace halvex::test
