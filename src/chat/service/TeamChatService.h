#pragma once
// The team's conversation with its orchestrator: one page of it with the roster and the team
// settings, sending a turn, and marking it read.
#include "chat/model/Attachment.h"
#include "chat/model/ChatHistory.h"
#include "chat/model/ChatMessage.h"
#include "core/async/CancelToken.h"
#include "core/net/APIClient.h"
#include "teams/model/TeamRecords.h"

#include <QList>
#include <QString>

#include <qcorotask.h>

#include <optional>

namespace halvex {

struct TeamChatResponse {
    QList<ChatMessage> messages;
    QList<TeamRosterMember> agents;
    std::optional<bool> archived;
    std::optional<TeamLoopConfig> loop;
    std::optional<ChatHistoryPage> page;
    std::optional<QString> groupLabel;
    std::optional<QString> groupSlug;
    std::optional<QString> teamAvatar;
    std::optional<TeamOrchLlm> orchestratorLlm;
    std::optional<QString> teamDirective;
    std::optional<QString> replyLanguage;
    std::optional<int> handoffDepth;
    std::optional<bool> approvalGate;
    std::optional<bool> teamPinned;
    std::optional<double> budgetUsdMonth;
    std::optional<double> monthSpendUsd;

    static TeamChatResponse decode(const JsonReader& json);
};

class TeamChatService {
public:
    explicit TeamChatService(APIClient& api) : m_api(&api) {}
    TeamChatService();

    static QString teamChatPath(const QString& slug) { return QStringLiteral("api/v2/orchestrator-chat/") + slug; }

    // "before" when given, then "limit" when given.
    QCoro::Task<TeamChatResponse> load(QString slug, std::optional<int> limit, std::optional<qint64> before,
                                       CancelToken token = {});
    // The answer carries nothing: the caller reloads the history.
    QCoro::Task<void> send(QString slug, QString text, QList<Attachment> attachments, CancelToken token = {});
    // Callers ignore its failures; a missed read mark is harmless.
    QCoro::Task<void> markRead(QString slug, CancelToken token = {});

    static QueryItems loadQuery(std::optional<int> limit, std::optional<qint64> before);
    static JSONObject sendBody(const QString& text, const QList<Attachment>& attachments);

private:
    APIClient* m_api;
};

} // namespace halvex
