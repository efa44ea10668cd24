#pragma once
// The team menu: roster, reviewer, hand-off depth, loop mode, budget and usage of one team.
// Loads once, then changes only through its own operations. GUI thread only.
#include "agents/model/BrainModel.h"
#include "agents/service/AgentService.h"
#include "chat/model/LoopToolConfig.h"
#include "chat/service/TeamChatService.h"
#include "core/async/CancelToken.h"
#include "teams/model/TeamRecords.h"
#include "teams/service/TeamService.h"

#include <QObject>
#include <QString>

#include <qcorotask.h>

#include <functional>
#include <optional>

namespace halvex {

class APIClient;

class TeamMenuViewModel : public QObject {
    Q_OBJECT
public:
    struct AddMemberState {
        enum class Kind { idle, running, failed };
        Kind kind = Kind::idle;
        QString text; // the brief while running, the message when failed
        bool operator==(const AddMemberState&) const = default;
    };

    // The team conversation page the menu reads its settings from.
    static constexpr int hydrateLimit = 15;

    TeamMenuViewModel(QString slug, APIClient& api, QObject* parent = nullptr);
    explicit TeamMenuViewModel(QString slug, QObject* parent = nullptr);
    ~TeamMenuViewModel() override;

    QString slug() const { return m_slug; }
    QString label() const { return m_label; }
    std::optional<QString> teamAvatar() const { return m_teamAvatar; }
    QString reviewerHandle() const { return m_reviewerHandle; }
    int handoffDepth() const { return m_handoffDepth; }
    LoopToolConfig loop() const { return m_loop; }
    bool loopEnabled() const { return m_loop.enabled; }
    int loopIterations() const { return m_loop.iterations; }
    int loopMaxTokens() const { return m_loop.maxTokens; }
    double loopMaxCostUsd() const { return m_loop.maxCostUsd; }
    int loopQuality() const { return m_loop.quality; }
    bool loopStopNoImprove() const { return m_loop.stopOnNoImprove; }
    double budgetUsd() const { return m_budgetUsd; }
    double monthSpendUsd() const { return m_monthSpendUsd; }
    QList<TeamRosterMember> roster() const { return m_roster; }
    std::optional<TeamUsageResponse> usage() const { return m_usage; }
    bool isLoading() const { return m_isLoading; }
    bool isBusy() const { return m_isBusy; }
    std::optional<QString> notice() const { return m_notice; }
    std::optional<QString> error() const { return m_error; }
    AddMemberState addMemberState() const { return m_addMemberState; }
    bool didLoad() const { return m_didLoad; }

    QCoro::Task<void> hydrateIfNeeded();
    QCoro::Task<void> hydrate();
    QCoro::Task<void> loadUsage();
    QCoro::Task<void> addMember(QString brief);
    QCoro::Task<void> renameMember(QString agentId, QString newHandle);
    QCoro::Task<void> memberAction(QString agentId, QString action);
    // No brain: the member inherits the team's model.
    QCoro::Task<void> setMemberModel(QString agentId, std::optional<BrainModel> brain);
    QCoro::Task<void> saveReviewer(QString handle);
    QCoro::Task<void> saveHandoffDepth(int depth);
    QCoro::Task<void> saveLoop(LoopToolConfig config);
    // The draft is a token amount typed by the user; only its digits count.
    QCoro::Task<void> saveBudget(QString tokensDraft);
    std::optional<qint64> memberTokens(const QString& handle) const;
    void stop();

    // Tokens per US dollar in the service's unit.
    static constexpr double tokensPerUsd = 2000.0;
    static double budgetUsdFromDraft(const QString& tokensDraft);

Q_SIGNALS:
    void changed();
    void unauthorized();
    // A member joined, left or was renamed on the service: the sidebar's teams are stale.
    void membersChanged();

private:
    void apply(const TeamChatResponse& team);
    bool fail(const std::exception_ptr& error);
    // Runs one save: busy on, error cleared, `request`, then on success `onSuccess` and the notice.
    using SaveRequest = std::function<QCoro::Task<void>(CancelToken)>;
    using SaveSuccess = std::function<QString()>;
    // Callers build both functions as named locals: GCC 12 destroys a lambda temporary inside co_await twice.
    QCoro::Task<void> runSave(SaveRequest request, SaveSuccess onSuccess);

    QString m_slug;
    AgentService m_agents;
    TeamService m_teams;
    TeamChatService m_teamChat;
    QString m_label;
    std::optional<QString> m_teamAvatar;
    QString m_reviewerHandle;
    int m_handoffDepth = 0;
    LoopToolConfig m_loop;
    double m_budgetUsd = 0;
    double m_monthSpendUsd = 0;
    QList<TeamRosterMember> m_roster;
    std::optional<TeamUsageResponse> m_usage;
    bool m_isLoading = false;
    bool m_isBusy = false;
    std::optional<QString> m_notice;
    std::optional<QString> m_error;
    AddMemberState m_addMemberState;
    bool m_didLoad = false;
    TaskScope m_scope;
};

} // namespace halvex
