#pragma once
// The chat's live event stream: "ready", "ping", "message" and "message-insert" events of one
// chat, with message events decoded as ChatMessage. Reconnection and back-off are the
// EventStream's; callbacks run on the GUI thread.
#include "chat/model/ChatMessage.h"
#include "core/net/sse/EventStream.h"

#include <functional>
#include <memory>

namespace halvex {

class SSEClient {
public:
    explicit SSEClient(QUrl origin = {}, QNetworkCookieJar* jar = nullptr, Clock* clock = nullptr);

    std::function<void()> onReady;
    std::function<void(const ChatMessage&)> onMessage;
    std::function<void()> onReconnect;
    std::function<void()> onUnauthorized;

    void start(const QString& path);
    void stop() { m_stream.stop(); }
    bool isRunning() const { return m_stream.isRunning(); }

    // The paths of the two kinds of chat.
    static QString agentStreamPath(const QString& agentId);
    static QString teamStreamPath(const QString& teamId);

private:
    void dispatch(const SSERawEvent& event);

    EventStream m_stream;
};

} // namespace halvex
