#pragma once
// The live state of one open chat: messages, composer, staged files, the working indicator,
// paging, approvals, goal reviews and suggestions. It owns the chat protocol: first history
// load, the event stream, the 8-second heal poll, optimistic sends reconciled by id, and older
// pages. GUI thread only. A stopped or destroyed instance drops every late result (each kind of
// work is `LatestOnly` or belongs to the task scope), so a chat switch never shows the other
// chat's messages. The implementation is split by responsibility: lifecycle and errors here,
// history and live events in ChatViewModelTimeline.cpp, sending and uploads in
// ChatViewModelComposer.cpp, approvals, artifacts and goal reviews in ChatViewModelCards.cpp,
// suggested prompts in ChatViewModelSuggestions.cpp.
#include "agents/model/ChatBackend.h"
#include "agents/service/AgentService.h"
#include "chat/model/ApprovalRequest.h"
#include "chat/model/Attachment.h"
#include "chat/model/ChatMessage.h"
#include "chat/service/ApprovalService.h"
#include "chat/service/ChatHistoryCache.h"
#include "chat/service/ChatHistoryPageGate.h"
#include "chat/service/ChatService.h"
#include "chat/service/SSEClient.h"
#include "chat/service/TeamChatService.h"
#include "core/async/CancelToken.h"
#include "core/async/Clock.h"
#include "core/async/LatestOnly.h"
#include "projects/model/GoalRecords.h"
#include "projects/service/GoalService.h"

#include <QHash>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <qcorotask.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace halvex {

class APIClient;

class ChatViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(int messagesVersion READ messagesVersion NOTIFY messagesChanged)
    Q_PROPERTY(QString input READ input WRITE setInput NOTIFY changed)
    Q_PROPERTY(bool isThinking READ isThinking NOTIFY changed)
    Q_PROPERTY(bool isUploading READ isUploading NOTIFY changed)
    Q_PROPERTY(bool isReconnecting READ isReconnecting NOTIFY changed)
    Q_PROPERTY(bool historyLoaded READ historyLoaded NOTIFY changed)
    Q_PROPERTY(bool hasMoreHistory READ hasMoreHistory NOTIFY changed)
    Q_PROPERTY(bool isLoadingOlder READ isLoadingOlder NOTIFY changed)
    Q_PROPERTY(QString error READ errorText NOTIFY changed)
    // The last failure was the wallet running dry: the screen offers the way to top up.
    Q_PROPERTY(bool needsPayment READ needsPayment NOTIFY changed)
    Q_PROPERTY(QStringList chatSuggestions READ chatSuggestions NOTIFY changed)
    Q_PROPERTY(QString modelLabel READ modelLabel NOTIFY changed)
    Q_PROPERTY(int stagedCount READ stagedCount NOTIFY changed)
    Q_PROPERTY(bool canAttach READ canAttach NOTIFY changed)
public:
    static constexpr int agentPageSize = 50;
    static constexpr int teamPageSize = 15;
    static constexpr qint64 healIntervalMs = 8'000;
    static constexpr qint64 readDebounceMs = 1'200;
    static constexpr qint64 suggestionDelayMs = 1'200;
    static constexpr int maxStaged = 5;
    static constexpr qint64 maxUploadBytes = 10'485'760;
    static constexpr int goalListLimit = 50;
    // How many of the newest messages the interface renders ahead of time.
    static constexpr int renderWarmLimit = 120;
    // How many versions back `unchangedSince` can tell.
    static constexpr int changesKept = 32;

    // One local file chosen for upload.
    struct LocalFile {
        QString name;
        QByteArray data;
    };

    ChatViewModel(ChatBackend backend, APIClient& api, Clock& clock, std::optional<QString> initialMessage = {},
                  ChatHistoryCache& cache = ChatHistoryCache::shared(), QObject* parent = nullptr);
    ~ChatViewModel() override;

    // Set by the owner before start().
    std::function<void()> onRead;
    std::function<void()> onBrowserActivity;
    // The interface's render caches (Markdown, presentation), warmed after history loads.
    std::function<void(const QList<ChatMessage>&)> warmRenderCaches;

    const ChatBackend& backend() const { return m_backend; }
    const QList<ChatMessage>& messages() const { return m_messages; }
    int messagesVersion() const { return m_messagesVersion; }
    // How many leading messages are the same as in the list at `version`: a follower that saw
    // that version redoes only what lies after them. 0 when `version` is too old to tell.
    qsizetype unchangedSince(int version) const;
    QString input() const { return m_input; }
    void setInput(const QString& text);
    const QList<Attachment>& staged() const { return m_staged; }
    int stagedCount() const { return int(m_staged.size()); }
    bool isThinking() const { return m_isThinking; }
    bool isUploading() const { return m_uploadRuns > 0; }
    // Files may be added: no upload runs and the staged files leave room.
    bool canAttach() const { return !isUploading() && m_staged.size() < maxStaged; }
    bool isReconnecting() const { return m_isReconnecting; }
    // The stream said "ready" and has not dropped since.
    bool isStreamReady() const { return m_streamReady; }
    bool historyLoaded() const { return m_historyLoaded; }
    bool historyReconciled() const { return m_historyReconciled; }
    bool hasMoreHistory() const { return m_hasMoreHistory; }
    bool isLoadingOlder() const { return m_isLoadingOlder; }
    const std::optional<QString>& error() const { return m_error; }
    QString errorText() const { return m_error.value_or(QString()); }
    bool needsPayment() const { return m_needsPayment; }
    const std::optional<Agent>& detail() const { return m_detail; }
    const QMap<QString, QString>& roster() const { return m_roster; }
    const QMap<QString, QString>& rosterAliases() const { return m_rosterAliases; }
    const QMap<QString, QString>& rosterAgentIDs() const { return m_rosterAgentIDs; }
    const QSet<qint64>& approvalBusy() const { return m_approvalBusy; }
    const QMap<qint64, QString>& approvalErrors() const { return m_approvalErrors; }
    const QList<GoalReviewItem>& goalReviews() const { return m_goalReviews; }
    const QSet<QString>& goalReviewBusy() const { return m_goalReviewBusy; }
    const QMap<QString, QString>& goalReviewErrors() const { return m_goalReviewErrors; }
    QStringList chatSuggestions() const { return m_chatSuggestions; }
    QString modelLabel() const;
    bool isStarted() const { return m_started; }

    QCoro::Task<void> start();
    void stop();

    QCoro::Task<void> send(std::optional<QString> textOverride = std::nullopt);
    Q_INVOKABLE void sendComposer() { send(); }
    Q_INVOKABLE void sendQuick(const QString& text) { send(text); }
    QCoro::Task<void> addFiles(QList<LocalFile> files);
    // Reads the files from disk; unreadable ones are reported in `error`.
    QCoro::Task<void> addFilePaths(QStringList paths);
    Q_INVOKABLE void removeStaged(int index);
    QCoro::Task<void> loadHistory(bool merge);
    // Whether a fetch was started.
    bool loadOlderHistory();
    QCoro::Task<void> resolveApproval(qint64 messageID, ApprovalDecision decision);
    QCoro::Task<void> submitGoalReview(GoalReviewItem item, QString decision, QString feedback);
    QCoro::Task<void> refreshGoalReviews();
    QCoro::Task<void> expandStep(qint64 stepId);
    // The agent owning a message's artifact; none when a team chat cannot tell.
    std::optional<QString> artifactAgentID(const ChatMessage& message) const;
    QCoro::Task<void> loadChatSuggestions();
    void scheduleChatSuggestionRefresh(qint64 afterMilliseconds);
    // One heal round; the poll runs it every 8 seconds.
    QCoro::Task<void> healOnce();
    void ingest(const ChatMessage& message);

    // "mixed" when no single language can be chosen.
    QString suggestionLanguage() const;
    QString suggestionBasePath() const;
    GoalScope goalScope() const;

Q_SIGNALS:
    void changed();
    void messagesChanged();
    // The service no longer knows the session: the owner returns to sign-in.
    void unauthorized();

private:
    void restoreFromCache();
    void wireStream();
    QString streamPath() const;
    QCoro::Task<void> healLoop(CancelToken token);
    QCoro::Task<void> loadOlder(qint64 bound, CancelToken token);
    QCoro::Task<void> loadDetail();
    QCoro::Task<void> sendTurn(QString text, bool fromInput, QList<Attachment> attachments);
    QCoro::Task<void> uploadTo(QString agentId, QList<MultipartFile> files);

    void applyHistory(QList<ChatMessage> incoming, bool merge, std::optional<bool> hasMore);
    void applyDelta(const QList<ChatMessage>& incoming);
    void prependHistory(const QList<ChatMessage>& incoming, std::optional<bool> hasMore);
    void applyTeamRoster(const QList<TeamRosterMember>& members);
    enum class Placement { unchanged, changed, replaced, appended };
    // Steps 1-3 of ingesting: replace in place, append, re-sort. `replaced` is a message changed
    // where it stood and `appended` one added at the end, everything else as it was; `changed`
    // is any other change (the list was re-sorted).
    Placement place(const ChatMessage& message);
    void requestExpansion(const ChatMessage& message);
    void messagesReplaced();
    qsizetype indexOf(qint64 id);
    // A new version of the list; messages before `changedFrom` are as they were.
    void bumpVersion(qsizetype changedFrom = 0);
    // The newest confirmed messages into the cache; `message` with how it was placed when that
    // is the only change, so that one message is written instead of the newest 51.
    void storeInCache(Placement placed = Placement::changed, const ChatMessage* message = nullptr);
    void recomputeThinking();
    void scheduleMarkRead();
    void markRead();
    void setError(std::optional<QString> text);
    // Routes a failure: silence, lost session, or `error`. Returns the text shown, if any.
    std::optional<QString> fail(const std::exception_ptr& error);

    ChatBackend m_backend;
    APIClient& m_api;
    Clock& m_clock;
    ChatHistoryCache& m_cache;
    ChatService m_chat;
    AgentService m_agents;
    TeamChatService m_team;
    ApprovalService m_approvals;
    GoalService m_goals;
    SSEClient m_sse;

    QList<ChatMessage> m_messages;
    int m_messagesVersion = 0;
    // Where each of the latest versions began to differ from the one before, by version.
    std::array<qsizetype, changesKept> m_changedFrom{};
    QString m_input;
    QList<Attachment> m_staged;
    bool m_isThinking = false;
    bool m_needsPayment = false;
    int m_uploadRuns = 0;
    bool m_isReconnecting = false;
    bool m_streamReady = false;
    bool m_streamWasReady = false;
    bool m_historyLoaded = false;
    bool m_historyReconciled = false;
    bool m_hasMoreHistory = false;
    bool m_isLoadingOlder = false;
    bool m_started = false;
    std::optional<QString> m_error;
    std::optional<Agent> m_detail;
    QMap<QString, QString> m_roster;
    QMap<QString, QString> m_rosterAliases;
    QMap<QString, QString> m_rosterAgentIDs;
    QSet<qint64> m_approvalBusy;
    QMap<qint64, QString> m_approvalErrors;
    QList<GoalReviewItem> m_goalReviews;
    QSet<QString> m_goalReviewBusy;
    QMap<QString, QString> m_goalReviewErrors;
    QStringList m_chatSuggestions;
    std::optional<QString> m_chatSuggestionHash;
    bool m_chatSuggestionsRequested = false;

    QSet<qint64> m_seenIds;
    std::optional<QHash<qint64, qsizetype>> m_indexById;
    QSet<qint64> m_expansionsRequested;
    // Optimistic team turns already sent: the next history merge drops them.
    QSet<qint64> m_settledTempIds;
    qint64 m_tempId = -1;
    // The cache's stamp of this chat's last store (0: none yet) and the version it stored.
    quint64 m_cacheStamp = 0;
    int m_cacheVersion = 0;
    std::optional<QString> m_initialMessage;
    bool m_pendingInitialTurn = false;

    ChatHistoryPageGate m_olderPageGate;
    LatestOnly m_historyLoad;
    LatestOnly m_olderHistory;
    LatestOnly m_healPoll;
    LatestOnly m_suggestionLoad;
    std::unique_ptr<TimerHandle> m_readDebounce;
    std::unique_ptr<TimerHandle> m_suggestionTimer;
    TaskScope m_scope; // sends, uploads, approvals, reviews, detail, expansions
};

} // namespace halvex
