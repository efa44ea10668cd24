#include "chat/model/ApprovalRequest.h"

#include <QUrl>

namespace halvex {

namespace {

QString pathSegment(const QString& value)
{
    // "/", "?" and "#" would otherwise change the route.
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

} // namespace

ApprovalResolution ApprovalResolution::decode(const JsonReader& json)
{
    ApprovalResolution r;
    r.status = json.lenient<QString>("status").value_or(
        json.lenient<QString>("decision").value_or(QStringLiteral("resolved")));
    r.createdAgentID = json.lenient<QString>("created_agent_id");
    r.workerName = json.lenient<QString>("worker_name");
    return r;
}

ApprovalRequest ApprovalRequest::solo(const QString& agentID, qint64 messageID, ApprovalDecision decision)
{
    JSONObject body;
    body.insert(QStringLiteral("action"),
                decision == ApprovalDecision::approve ? QStringLiteral("accept") : QStringLiteral("reject"));
    return {QStringLiteral("api/v2/custom-agents/") + pathSegment(agentID) + QStringLiteral("/proposals/")
                + QString::number(messageID),
            body};
}

ApprovalRequest ApprovalRequest::team(const QString& slug, qint64 messageID, ApprovalDecision decision)
{
    JSONObject body;
    body.insert(QStringLiteral("decision"),
                decision == ApprovalDecision::approve ? QStringLiteral("approve") : QStringLiteral("reject"));
    body.insert(QStringLiteral("approval_id"), messageID);
    return {QStringLiteral("api/v2/orchestrator-chat/") + pathSegment(slug) + QStringLiteral("/approve"), body};
}

QString resolvedApprovalStatus(const QString& returned, ApprovalDecision sent)
{
    const QString word = returned.trimmed().toLower();
    if (word == QLatin1String("approve") || word == QLatin1String("approved") || word == QLatin1String("accept")
        || word == QLatin1String("accepted"))
        return QStringLiteral("approved");
    if (word == QLatin1String("reject") || word == QLatin1String("rejected"))
        return QStringLiteral("rejected");
    if (word.isEmpty())
        return sent == ApprovalDecision::approve ? QStringLiteral("approved") : QStringLiteral("rejected");
    return returned;
}

} // namespace halvex
