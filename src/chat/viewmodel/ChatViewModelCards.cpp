// What the chat's cards act on: approvals, artifacts, the model label and goal reviews.
#include "chat/viewmodel/ChatViewModel.h"

#include "agents/model/LlmModelCatalog.h"
#include "core/async/Failure.h"
#include "core/net/APIClient.h"
#include "projects/model/GoalBuilders.h"

namespace halvex {

QCoro::Task<void> ChatViewModel::resolveApproval(qint64 messageID, ApprovalDecision decision)
{
    m_approvalBusy.insert(messageID);
    m_approvalErrors.remove(messageID);
    Q_EMIT changed();
    const ApprovalRequest request = m_backend.isAgent()
        ? ApprovalRequest::solo(m_backend.agentValue()->id, messageID, decision)
        : ApprovalRequest::team(m_backend.teamValue()->slug, messageID, decision);
    const CancelToken token = m_scope.token();
    try {
        const ApprovalResolution resolution = co_await m_approvals.send(request, token);
        if (token.isCancelled())
            co_return;
        const qsizetype at = indexOf(messageID);
        if (at >= 0) {
            JSONObject& meta = m_messages[at].metadata.raw;
            meta.insert(QStringLiteral("status"), resolvedApprovalStatus(resolution.status, decision));
            if (resolution.createdAgentID)
                meta.insert(QStringLiteral("created_agent_id"), *resolution.createdAgentID);
            if (resolution.workerName)
                meta.insert(QStringLiteral("worker_name"), *resolution.workerName);
            bumpVersion();
            storeInCache();
        }
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        if (token.isCancelled() || isCancellation(error))
            co_return;
        const Failure failure = Failure::of(error);
        if (failure.route == Failure::Route::lostSession)
            Q_EMIT unauthorized();
        m_approvalErrors.insert(messageID, failure.text.isEmpty() ? QStringLiteral("Approval failed.") : failure.text);
    }
    m_approvalBusy.remove(messageID);
    Q_EMIT changed();
    co_await loadHistory(true);
}

std::optional<QString> ChatViewModel::artifactAgentID(const ChatMessage& message) const
{
    if (const Agent* agent = m_backend.agentValue())
        return agent->id;
    if (const auto memberId = message.metadata.nonEmptyString(QStringLiteral("member_id")))
        return memberId;
    auto name = message.metadata.nonEmptyString(QStringLiteral("member_name"));
    if (!name)
        name = message.metadata.nonEmptyString(QStringLiteral("delegate_to"));
    if (!name || *name == QLatin1String("team"))
        return std::nullopt;
    for (const QString& prefix : {QStringLiteral("handle:"), QStringLiteral("name:")}) {
        const auto found = m_rosterAgentIDs.constFind(prefix + *name);
        if (found != m_rosterAgentIDs.constEnd())
            return *found;
    }
    return std::nullopt;
}

QString ChatViewModel::modelLabel() const
{
    const Agent* agent = m_detail ? &*m_detail : m_backend.agentValue();
    if (!agent)
        return {};
    const std::optional<QString> id = agent->llmModel ? agent->llmModel : agent->resolvedLlmModel;
    if (const auto model = BrainCatalog::model(id))
        return model->label;
    if (agent->resolvedLlmModel)
        if (const auto model = BrainCatalog::model(agent->resolvedLlmModel))
            return model->label;
    return id.value_or(QString());
}

QCoro::Task<void> ChatViewModel::loadDetail()
{
    const QString agentId = m_backend.agentValue()->id;
    const CancelToken token = m_scope.token();
    try {
        const Agent agent = co_await m_agents.detail(agentId, token);
        if (token.isCancelled())
            co_return;
        m_detail = agent;
        m_cache.setDetail(m_backend.id(), agent);
        Q_EMIT changed();
    } catch (...) {
        // The sidebar's record is enough to chat.
    }
}

// --- goals -----------------------------------------------------------------------------------------

GoalScope ChatViewModel::goalScope() const
{
    if (const Agent* agent = m_backend.agentValue())
        return GoalScope::agent(agent->id);
    return GoalScope::team(m_backend.teamValue()->slug);
}

QCoro::Task<void> ChatViewModel::refreshGoalReviews()
{
    const CancelToken token = m_scope.token();
    try {
        const GoalScope scope = goalScope();
        const QList<GoalListItem> goals = co_await m_goals.list(scope, goalListLimit, token);
        if (token.isCancelled())
            co_return;
        const QList<GoalReviewItem> reviews = GoalReviewBuilder::pending(goals);
        if (reviews != m_goalReviews) {
            m_goalReviews = reviews;
            Q_EMIT changed();
        }
    } catch (...) {
        // Reviews show again on the next refresh.
    }
}

QCoro::Task<void> ChatViewModel::submitGoalReview(GoalReviewItem item, QString decision, QString feedback)
{
    const QString key = item.key();
    if (decision == QLatin1String("needs_work") && feedback.trimmed().isEmpty()) {
        m_goalReviewErrors.insert(key, QStringLiteral("Describe what should be changed before requesting a revision."));
        Q_EMIT changed();
        co_return;
    }
    m_goalReviewErrors.remove(key);
    m_goalReviewBusy.insert(key);
    Q_EMIT changed();
    const CancelToken token = m_scope.token();
    const GoalScope scope = goalScope();
    const QString trimmedFeedback = feedback.trimmed();
    try {
        co_await m_goals.review(scope, item.goalId, item.runId, decision, trimmedFeedback, item.version, token);
    } catch (...) {
        if (token.isCancelled() || isCancellation(std::current_exception()))
            co_return;
        m_goalReviewErrors.insert(key, QStringLiteral("Could not review the result."));
    }
    if (token.isCancelled())
        co_return;
    m_goalReviewBusy.remove(key);
    Q_EMIT changed();
    co_await refreshGoalReviews();
}

// --- suggestions -------------------------------------------------------------------------------------

} // namespace halvex
