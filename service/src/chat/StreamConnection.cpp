#include "chat/StreamConnection.h"

#include "chat/ChatRuntime.h"
#include "core/Crypto.h"
#include "core/Http.h"

#include <ctime>
#include <thread>

namespace service {

using Clock = std::chrono::steady_clock;

std::string sseFrame(const std::string& event, const std::string& data, long long id)
{
    std::string frame = "event: " + event + "\n";
    if (id > 0)
        frame += "id: " + std::to_string(id) + "\n";
    return frame + "data: " + data + "\n\n";
}

StreamConnection::StreamConnection(Service& s, std::string chatKey, std::string sessionToken)
    : m_service(s),
      m_chatKey(std::move(chatKey)),
      m_sessionToken(std::move(sessionToken)),
      m_subscription(chatRuntime(s).hub.subscribe(m_chatKey)),
      m_lastWrite(Clock::now()),
      m_lastPing(Clock::now())
{}

StreamConnection::~StreamConnection() { chatRuntime(m_service).hub.unsubscribe(m_chatKey, m_subscription); }

bool StreamConnection::write(httplib::DataSink& sink, const std::string& frame)
{
    m_lastWrite = Clock::now();
    return sink.write(frame.data(), frame.size());
}

bool StreamConnection::sessionAlive()
{
    return !m_service.db
                ->query("SELECT 1 FROM sessions WHERE token_hash = ? AND expires_at > ?",
                        {sha256Hex(m_sessionToken), static_cast<long long>(std::time(nullptr))})
                .empty();
}

bool StreamConnection::pump(httplib::DataSink& sink)
{
    if (!m_readySent) {
        m_readySent = true;
        return write(sink, sseFrame("ready", json{{"chat", m_chatKey}}.dump()));
    }
    const auto ping = std::chrono::milliseconds(m_service.opt.pingMs);
    // Short waits let a write notice a client that left long before the next ping is due.
    const auto probe = std::min(ping, std::chrono::milliseconds(1000));
    const auto events = m_subscription->take(probe);
    for (const auto& event : events) {
        int delayMs = 0, dropAfter = 0;
        {
            std::lock_guard guard(m_service.faults.lock);
            delayMs = m_service.faults.streamDelayMs;
            dropAfter = m_service.faults.streamDropAfter;
        }
        if (delayMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        // Noted before the frame goes out, so that a reader holding the frame always finds its line,
        // even when the service is stopped right after the write.
        if (StreamTimes* times = chatRuntime(m_service).times.get())
            times->record(event.id, event.publishedAt);
        if (!write(sink, sseFrame(event.name, event.data, event.id)))
            return false;
        if (dropAfter > 0 && ++m_delivered >= dropAfter) {
            sink.done();
            return true;
        }
    }
    if (!events.empty())
        return true;
    const auto now = Clock::now();
    if (now - m_lastPing >= ping) {
        m_lastPing = now;
        // A signed-out or expired session ends the stream; the reconnect then gets its 401.
        if (!sessionAlive()) {
            sink.done();
            return true;
        }
        return write(sink, sseFrame("ping", json{{"at", nowIso()}}.dump()));
    }
    if (now - m_lastWrite >= probe)
        return write(sink, ":\n");
    return true;
}

} // namespace service
