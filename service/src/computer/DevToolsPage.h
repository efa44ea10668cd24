#pragma once
// One browser tab driven over the DevTools protocol: commands with their answers, navigation,
// and the screencast whose newest JPEG frame the live view shows.
#include "computer/WebSocketClient.h"
#include "core/Http.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace service {

class DevToolsPage {
public:
    DevToolsPage() = default;
    ~DevToolsPage();
    DevToolsPage(const DevToolsPage&) = delete;
    DevToolsPage& operator=(const DevToolsPage&) = delete;

    // Connects to the tab's debugging address (a path on the browser's port) and starts reading.
    bool attach(int port, const std::string& path);
    // The command's "result", or nothing on an error answer, a lost connection or no answer in time.
    std::optional<json> call(const std::string& method, json params, std::chrono::milliseconds timeout);
    bool navigate(const std::string& url);
    bool startScreencast();
    // The newest screencast frame, or a screenshot taken now when none has arrived yet.
    std::optional<std::string> frame();
    void detach();

private:
    void readLoop();
    void take(json message);

    WebSocketClient m_socket;
    std::thread m_reader;
    std::mutex m_lock;
    std::condition_variable m_answered;
    std::map<long long, json> m_answers;
    long long m_nextId = 1;
    bool m_closed = false;
    std::string m_frame; // JPEG bytes
};

} // namespace service
