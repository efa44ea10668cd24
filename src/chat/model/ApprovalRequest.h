#pragma once
// A decision on an approval card, the request that carries it for an agent or a team chat, and
// the service's answer.
#include "core/json/JSONValue.h"
#include "core/json/JsonReader.h"

#include <QString>

#include <optional>

namespace halvex {

enum class ApprovalDecision { approve, reject };

struct ApprovalResolution {
    QString status;
    std::optional<QString> createdAgentID;
    std::optional<QString> workerName;
    static ApprovalResolution decode(const JsonReader& json);
};

struct ApprovalRequest {
    QString path;
    JSONObject body;

    static ApprovalRequest solo(const QString& agentID, qint64 messageID, ApprovalDecision decision);
    static ApprovalRequest team(const QString& slug, qint64 messageID, ApprovalDecision decision);
};

// The status a resolved card stores: "approved" or "rejected" for the known spellings, the
// service's own word otherwise, and the decision sent when the service gave none.
QString resolvedApprovalStatus(const QString& returned, ApprovalDecision sent);

} // namespace halvex
