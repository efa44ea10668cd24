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
    const QString path = chatPath(agentId);
    const QueryItems query = historyQuery(limit, since, before);
    co_return co_await m_api->get<ChatHistoryResponse>(path, query, std::move(token));
}

QCoro::Task<SendResponse> ChatService::send(QString agentId, QString text, QList<Attachment> attachments,
                                            QString clientRequestId, CancelToken token)
{
    const QString path = chatPath(agentId);
    const JSONObject body = sendBody(text, attachments, clientRequestId);
    co_return co_await m_api->postJSON<SendResponse>(path, body, std::nullopt, std::move(token));
}

QCoro::Task<QList<Attachment>> ChatService::uploadFiles(QString agentId, QList<MultipartFile> files, CancelToken token)
{
    const QString path = chatPath(agentId) + QStringLiteral("/files");
    const FilesUploadResponse response
        = co_await m_api->postMultipart<FilesUploadResponse>(path, std::move(files), std::move(token));
    co_return response.files;
}

QCoro::Task<ChatMessage> ChatService::expandStep(QString agentId, qint64 stepId, CancelToken token)
{
    const QString path = chatPath(agentId) + QStringLiteral("/step/") + QString::number(stepId);
    co_return co_await m_api->get<ChatMessage>(path, {}, std::move(token));
}

QCoro::Task<void> ChatService::markRead(QString agentId, CancelToken token)
{
    const QString path = chatPath(agentId) + QStringLiteral("/read");
    const JSONObject empty;
    co_await m_api->postJSONRaw(path, empty, std::move(token));
}

} // namespace halvex
