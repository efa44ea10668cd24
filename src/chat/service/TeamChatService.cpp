#include "chat/service/TeamChatService.h"

namespace halvex {

TeamChatResponse TeamChatResponse::decode(const JsonReader& json)
{
    TeamChatResponse r;
    r.messages = json.optional<QList<ChatMessage>>("messages").value_or(QList<ChatMessage>{});
    r.agents = json.optional<QList<TeamRosterMember>>("agents").value_or(QList<TeamRosterMember>{});
    r.archived = json.optional<bool>("archived");
    r.loop = json.optional<TeamLoopConfig>("loop");
    r.page = json.optional<ChatHistoryPage>("page");
    r.groupLabel = json.optional<QString>("group_label");
    r.groupSlug = json.optional<QString>("group_slug");
    r.teamAvatar = json.optional<QString>("team_avatar");
    r.orchestratorLlm = json.optional<TeamOrchLlm>("orchestrator_llm");
    r.teamDirective = json.optional<QString>("team_directive");
    r.replyLanguage = json.optional<QString>("reply_language");
    r.handoffDepth = json.optional<int>("handoff_depth");
    r.approvalGate = json.optional<bool>("approval_gate");
    r.teamPinned = json.optional<bool>("team_pinned");
    r.budgetUsdMonth = json.optional<double>("budget_usd_month");
    r.monthSpendUsd = json.optional<double>("month_spend_usd");
    return r;
}

TeamChatService::TeamChatService() : m_api(&APIClient::shared()) {}

QueryItems TeamChatService::loadQuery(std::optional<int> limit, std::optional<qint64> before)
{
    QueryItems query;
    if (before)
        query.append({QStringLiteral("before"), QString::number(*before)});
    if (limit)
        query.append({QStringLiteral("limit"), QString::number(*limit)});
    return query;
}

JSONObject TeamChatService::sendBody(const QString& text, const QList<Attachment>& attachments)
{
    JSONObject body{{QStringLiteral("text"), text}};
    if (!attachments.isEmpty()) {
        JSONArray payloads;
        for (const Attachment& a : attachments)
            payloads.append(JSONValue(a.chatPayload()));
        body.insert(QStringLiteral("attachments"), JSONValue(std::move(payloads)));
    }
    return body;
}

QCoro::Task<TeamChatResponse> TeamChatService::load(QString slug, std::optional<int> limit,
                                                    std::optional<qint64> before, CancelToken token)
{
    const QString path = teamChatPath(slug);
    const QueryItems query = loadQuery(limit, before);
    co_return co_await m_api->get<TeamChatResponse>(path, query, std::move(token));
}

QCoro::Task<void> TeamChatService::send(QString slug, QString text, QList<Attachment> attachments, CancelToken token)
{
    const QString path = teamChatPath(slug);
    const JSONObject body = sendBody(text, attachments);
    co_await m_api->postJSONRaw(path, body, std::move(token));
}

QCoro::Task<void> TeamChatService::markRead(QString slug, CancelToken token)
{
    const QString path = teamChatPath(slug) + QStringLiteral("/read");
    const JSONObject empty;
    co_await m_api->postJSONRaw(path, empty, std::move(token));
}

} // namespace halvex
