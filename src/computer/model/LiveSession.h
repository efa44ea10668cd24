#pragma once
// The browser session of one employee that the side panel shows, and the rule that picks it from
// the service's list of live sessions.
#include "computer/model/ComputerRecords.h"

#include <QDateTime>
#include <QSet>
#include <QString>

#include <optional>

namespace halvex {

struct LiveSession {
    QString sessionId;
    QString url; // the live view's address
    std::optional<QString> agentName, expiresAt;

    bool operator==(const LiveSession&) const = default;

    // The first session of `agentId` with both a live-view address and a session id that is not
    // among `ended`; none when there is no such session.
    static std::optional<LiveSession> pick(const ComputerState& state, const QString& agentId,
                                           const QSet<QString>& ended = {});
    // A session whose expiry lies at or before `now`; one without a readable expiry never expires.
    static bool hasExpired(const AgentBrowserSession& session, const QDateTime& now);
};

} // namespace halvex
