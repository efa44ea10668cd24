#include "computer/WebSocketClient.h"

#include "core/AsciiCase.h"
#include "core/Base64.h"
#include "core/Crypto.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <openssl/sha.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace service {

namespace {

constexpr size_t kMaxMessage = 64u << 20; // a screenshot of a large page, base64-encoded
constexpr const char* kAcceptGuid = "258EAFA5-E914-47DA-95CA-C5AB0DC85B11";

std::string acceptFor(const std::string& key)
{
    const std::string joined = key + kAcceptGuid;
    unsigned char digest[SHA_DIGEST_LENGTH];
    SHA1(reinterpret_cast<const unsigned char*>(joined.data()), joined.size(), digest);
    return base64Encode(std::string(reinterpret_cast<char*>(digest), sizeof digest));
}

bool writeAll(int fd, const std::string& bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += size_t(n);
    }
    return true;
}

} // namespace

WebSocketClient::~WebSocketClient()
{
    close();
    if (m_fd >= 0)
        ::close(m_fd);
}

bool WebSocketClient::connect(const std::string& host, int port, const std::string& path,
                              std::chrono::milliseconds timeout)
{
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(uint16_t(port));
    if (inet_pton(AF_INET, host.c_str(), &addr.sin_addr) != 1)
        return false;
    m_fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0 || ::connect(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
        return false;
    const std::string key = base64Encode(randomHex(8));
    if (!writeAll(m_fd,
                  "GET " + path + " HTTP/1.1\r\nHost: " + host + ":" + std::to_string(port)
                      + "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Key: " + key
                      + "\r\nSec-WebSocket-Version: 13\r\n\r\n"))
        return false;
    // The answer's head, read with a deadline: a port that accepts and says nothing must not hang us.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    char chunk[4096];
    size_t end;
    while ((end = m_buffer.find("\r\n\r\n")) == std::string::npos) {
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd fd{m_fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&fd, 1, int(left.count())) <= 0 || m_buffer.size() > 16384)
            return false;
        const ssize_t n = ::recv(m_fd, chunk, sizeof chunk, 0);
        if (n <= 0)
            return false;
        m_buffer.append(chunk, size_t(n));
    }
    const std::string head = m_buffer.substr(0, end);
    m_buffer.erase(0, end + 4);
    return head.rfind("HTTP/1.1 101", 0) == 0
        && lowerAscii(head).find("sec-websocket-accept: " + lowerAscii(acceptFor(key))) != std::string::npos;
}

bool WebSocketClient::sendFrame(int opcode, const std::string& payload)
{
    std::string frame;
    frame += char(0x80 | opcode);
    const size_t n = payload.size();
    if (n < 126) {
        frame += char(0x80 | n);
    } else if (n <= 0xFFFF) {
        frame += char(0x80 | 126);
        frame += char(n >> 8);
        frame += char(n & 0xFF);
    } else {
        frame += char(0x80 | 127);
        for (int i = 7; i >= 0; --i)
            frame += char((uint64_t(n) >> (8 * i)) & 0xFF);
    }
    const std::string mask = randomHex(2).substr(0, 4);
    frame += mask;
    for (size_t i = 0; i < n; ++i)
        frame += char(payload[i] ^ mask[i % 4]);
    std::lock_guard guard(m_sendLock);
    return m_fd >= 0 && writeAll(m_fd, frame);
}

bool WebSocketClient::sendText(const std::string& text) { return sendFrame(0x1, text); }

bool WebSocketClient::readExact(std::string& out, size_t n)
{
    char chunk[65536];
    while (m_buffer.size() < n) {
        const ssize_t got = ::recv(m_fd, chunk, sizeof chunk, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        m_buffer.append(chunk, size_t(got));
    }
    out = m_buffer.substr(0, n);
    m_buffer.erase(0, n);
    return true;
}

std::optional<std::string> WebSocketClient::receive()
{
    std::string message, head, ext, payload;
    for (;;) {
        if (m_fd < 0 || !readExact(head, 2))
            return std::nullopt;
        const bool fin = head[0] & 0x80;
        const int opcode = head[0] & 0x0F;
        const bool masked = head[1] & 0x80;
        uint64_t len = head[1] & 0x7F;
        if (len >= 126) {
            if (!readExact(ext, len == 126 ? 2 : 8))
                return std::nullopt;
            len = 0;
            for (unsigned char c : ext)
                len = (len << 8) | c;
        }
        std::string mask;
        if ((masked && !readExact(mask, 4)) || len > kMaxMessage || message.size() + len > kMaxMessage)
            return std::nullopt;
        if (!readExact(payload, size_t(len)))
            return std::nullopt;
        for (size_t i = 0; masked && i < payload.size(); ++i)
            payload[i] = char(payload[i] ^ mask[i % 4]);
        if (opcode == 0x8)
            return std::nullopt;
        if (opcode == 0x9) {
            sendFrame(0xA, payload);
            continue;
        }
        if (opcode == 0xA)
            continue;
        message += payload;
        if (fin)
            return message;
    }
}

void WebSocketClient::close()
{
    if (m_fd >= 0)
        ::shutdown(m_fd, SHUT_RDWR);
}

} // namespace service
