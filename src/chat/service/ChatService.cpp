#include "chat/service/ChatService.h"

#include "core/json/JsonWrite.h"

namespace halvex {

ChatService::ChatService() : m_api(&APIClient::shared()) {}

QString ChatService::chatPath(const QString& agentId)
{
    return QStringLiteral("api/v2/custom-agents/") + agentId + QStringLiteral("/chat");
}

QueryItems ChatService::historyQuery(std::optional<int> limit, std::optional<qint64> since,
                                     std::optional<qint64> before)
{
    QueryItems query;
    if (since) {
        query.append({QStringLiteral("since"), QString::number(*since)});
        return query;
    }
    if (before)
        query.append({QStringLiteral("before"), QString::number(*before)});
    if (limit)
        query.append({QStringLiteral("limit"), QString::number(*limit)});
    return query;
}

JSONObject ChatService::sendBody(const QString& text, const QList<Attachment>& attachments,
                                 const QString& clientRequestId)
{
    JSONObject body{{QStringLiteral("mode"), QStringLiteral("live")},
                    {QStringLiteral("client_request_id"), clientRequestId}};
    const QString trimmed = text.trimmed();
    if (!trimmed.isEmpty())
        body.insert(QStringLiteral("text"), trimmed);
    if (!attachments.isEmpty()) {
        JSONArray payloads;
        for (const Attachment& a : attachments)
            payloads.append(JSONValue(a.chatPayload()));
        body.insert(QStringLiteral("attachments"), JSONValue(std::move(payloads)));
    }
    return body;
}

QCoro::Task<ChatHistoryResponse> ChatService::history(QString agentId, std::optional<int> limit,
                                                      std::optional<qint64> since, std::optional<qint64> before,
                                                      CancelToken token)
{
    co_return co_await m_api->get<ChatHistoryResponse>(chatPath(agentId), historyQuery(limit, since, before),
                                                       std::move(token));
}

QCoro::Task<SendResponse> ChatService::send(QString agentId, QString text, QList<Attachment> attachments,
                                            QString clientRequestId, CancelToken token)
{
    co_return co_await m_api->postJSON<SendResponse>(chatPath(agentId), sendBody(text, attachments, clientRequestId),
                                                     std::nullopt, std::move(token));
}

QCoro::Task<QList<Attachment>> ChatService::uploadFiles(QString agentId, QList<MultipartFile> files,
                                                        CancelToken token)
{
    const FilesUploadResponse response = co_await m_api->postMultipart<FilesUploadResponse>(
        chatPath(agentId) + QStringLiteral("/files"), std::move(files), std::move(token));
    co_return response.files;
}

QCoro::Task<ChatMessage> ChatService::expandStep(QString agentId, qint64 stepId, CancelToken token)
{
    co_return co_await m_api->get<ChatMessage>(chatPath(agentId) + QStringLiteral("/step/") + QString::number(stepId),
                                               {}, std::move(token));
}

QCoro::Task<void> ChatService::markRead(QString agentId, CancelToken token)
{
    co_await m_api->postJSONRaw(chatPath(agentId) + QStringLiteral("/read"), JSONObject{}, std::move(token));
}

} // namespace halvex
