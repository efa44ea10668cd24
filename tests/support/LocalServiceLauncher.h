#pragma once
// Starts the local service binary for a test and stops it again. Plain C++ (no Qt), so the
// service's own tests and the client's end-to-end tests start it the same way.
#include <string>
#include <vector>

namespace halvex::test {

class LocalServiceLauncher {
public:
    struct Options {
        std::vector<std::string> extraArgs; // appended after the test defaults
        std::string dataDir;                // empty: a fresh temporary folder, removed at the end
        bool testDefaults = true;           // --seed-demo --pace-ms 0 --test-mode --fast-hash
    };

    LocalServiceLauncher() = default;
    ~LocalServiceLauncher();
    LocalServiceLauncher(const LocalServiceLauncher&) = delete;
    LocalServiceLauncher& operator=(const LocalServiceLauncher&) = delete;

    // Runs `binary --port 0 --data <dir> …` and waits for its "listening" line and, when the
    // demo is seeded, its demo-account line (printed once seeding is done). False when the
    // binary cannot start or says neither within ten seconds.
    bool start(const std::string& binary, const Options& options);
    // Sends `signal` and reaps the process; SIGKILL leaves it no chance to tidy up. The data
    // folder is removed only when the launcher made it.
    void stop(int signal = 15);

    int port() const { return m_port; }
    std::string origin() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    const std::string& demoEmail() const { return m_demoEmail; }
    const std::string& demoPassword() const { return m_demoPassword; }
    const std::string& dataDir() const { return m_dataDir; }
    const std::string& listeningLine() const { return m_listening; }
    bool running() const { return m_pid > 0; }

private:
    bool readStartLines(bool expectDemo);

    int m_pid = 0;
    int m_stdout = -1;
    int m_port = 0;
    bool m_ownsDir = false;
    std::string m_dataDir, m_listening, m_demoEmail, m_demoPassword, m_pending;
};

} // namespace halvex::test
