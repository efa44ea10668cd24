#include "computer/model/LiveSession.h"

namespace halvex {

std::optional<LiveSession> LiveSession::pick(const ComputerState& state, const QString& agentId,
                                             const QSet<QString>& ended)
{
    for (const AgentBrowserSession& s : state.agentSessions) {
        if (s.agentId != agentId)
            continue;
        const QString url = s.liveViewUrl.value_or(QString());
        const QString id = s.sessionId.value_or(QString());
        if (url.isEmpty() || id.isEmpty() || ended.contains(id))
            continue;
        return LiveSession{id, url, s.agentName, s.expiresAt};
    }
    return std::nullopt;
}

bool LiveSession::hasExpired(const AgentBrowserSession& session, const QDateTime& now)
{
    if (!session.expiresAt)
        return false;
    const QDateTime at = QDateTime::fromString(*session.expiresAt, Qt::ISODateWithMs);
    return at.isValid() && at <= now;
}

} // namespace halvex
