#include "chat/service/SSEClient.h"

#include "core/APIError.h"

namespace halvex {

SSEClient::SSEClient(QUrl origin, QNetworkCookieJar* jar, Clock* clock) : m_stream(std::move(origin), jar, clock)
{
    m_stream.onEvent = [this](const SSERawEvent& event) { dispatch(event); };
    m_stream.onReconnect = [this] {
        if (onReconnect)
            onReconnect();
    };
    m_stream.onUnauthorized = [this] {
        if (onUnauthorized)
            onUnauthorized();
    };
}

void SSEClient::start(const QString& path) { m_stream.start(path); }

QString SSEClient::agentStreamPath(const QString& agentId)
{
    return QStringLiteral("api/v2/custom-agents/") + agentId + QStringLiteral("/chat/stream");
}

QString SSEClient::teamStreamPath(const QString& teamId)
{
    return QStringLiteral("api/v2/orchestrator-chat/") + teamId + QStringLiteral("/stream");
}

void SSEClient::dispatch(const SSERawEvent& event)
{
    if (event.event == QLatin1String("ready")) {
        if (onReady)
            onReady();
        return;
    }
    if (event.event != QLatin1String("message") && event.event != QLatin1String("message-insert"))
        return; // "ping" and anything unknown
    if (event.data.isEmpty() || !onMessage)
        return;
    try {
        onMessage(decodeJSON<ChatMessage>(event.data.toUtf8()));
    } catch (const APIError&) {
        // An event that is not a message is dropped; the stream goes on.
    }
}

} // namespace halvex
