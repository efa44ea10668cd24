#pragma once
// The chat calls of one agent. Stateless; every failure is the client's APIError, unchanged.
#include "chat/model/Attachment.h"
#include "chat/model/ChatHistory.h"
#include "chat/model/ChatMessage.h"
#include "core/async/CancelToken.h"
#include "core/net/APIClient.h"
#include "core/net/MultipartFile.h"

#include <QList>
#include <QString>

#include <qcorotask.h>

#include <optional>

namespace halvex {

class ChatService {
public:
    explicit ChatService(APIClient& api) : m_api(&api) {}
    ChatService();

    static QString chatPath(const QString& agentId);

    // A `since` request is a delta and carries nothing else; otherwise "before", then "limit".
    QCoro::Task<ChatHistoryResponse> history(QString agentId, std::optional<int> limit, std::optional<qint64> since,
                                             std::optional<qint64> before, CancelToken token = {});
    QCoro::Task<SendResponse> send(QString agentId, QString text, QList<Attachment> attachments,
                                   QString clientRequestId, CancelToken token = {});
    QCoro::Task<QList<Attachment>> uploadFiles(QString agentId, QList<MultipartFile> files, CancelToken token = {});
    // The full step whose content the history shortened.
    QCoro::Task<ChatMessage> expandStep(QString agentId, qint64 stepId, CancelToken token = {});
    QCoro::Task<void> markRead(QString agentId, CancelToken token = {});

    static QueryItems historyQuery(std::optional<int> limit, std::optional<qint64> since, std::optional<qint64> before);
    static JSONObject sendBody(const QString& text, const QList<Attachment>& attachments,
                               const QString& clientRequestId);

private:
    APIClient* m_api;
};

} // namespace halvex
