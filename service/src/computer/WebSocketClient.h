#pragma once
// Just enough of a WebSocket client to speak to a browser's debugging port on loopback: the
// opening handshake, masked text frames out, text messages in (pings answered, fragments
// joined). One thread reads while others send.
#include <chrono>
#include <mutex>
#include <optional>
#include <string>

namespace service {

class WebSocketClient {
public:
    WebSocketClient() = default;
    ~WebSocketClient();
    WebSocketClient(const WebSocketClient&) = delete;
    WebSocketClient& operator=(const WebSocketClient&) = delete;

    // Connects to ws://host:port`path`; false when the connection or the handshake fails.
    bool connect(const std::string& host, int port, const std::string& path, std::chrono::milliseconds timeout);
    bool sendText(const std::string& text);
    // Blocks until the next text message; nothing once the connection closed or close() ran.
    std::optional<std::string> receive();
    // Wakes a blocked receive() and ends the connection.
    void close();

private:
    bool sendFrame(int opcode, const std::string& payload);
    bool readExact(std::string& out, size_t n);

    int m_fd = -1;
    std::mutex m_sendLock;
    std::string m_buffer; // bytes read past the last complete frame
};

} // namespace service
