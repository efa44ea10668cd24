#pragma once
// The launcher opened from a chat's composer: the person's active workers, run into the current
// chat, deleted, and the shared workflow marketplace, paged and installed from.
#include "agents/model/Agent.h"
#include "agents/service/AgentService.h"
#include "core/async/Clock.h"
#include "core/async/LatestOnly.h"
#include "workers/service/WorkerBuildService.h"
#include "workers/service/WorkflowMarketplaceService.h"
#include "workers/service/WorkflowRunsService.h"

#include <QObject>

#include <functional>

namespace halvex {

enum class WorkerLauncherMode { mine, marketplace };

class WorkerLauncherModel : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 launchStatusMs = 5'000;

    WorkerLauncherModel(APIClient& api, Clock& clock, QObject* parent = nullptr);
    ~WorkerLauncherModel() override;

    // Asked at launch time: the employee whose chat receives the results, and the conversation.
    std::function<std::optional<QString>()> deliveryProvider;
    std::function<std::optional<QString>()> conversationProvider;

    const QList<WorkerLauncherRow>& rows() const { return m_rows; }
    const QList<Agent>& workers() const { return m_workers; }
    WorkerLauncherMode mode() const { return m_mode; }
    bool isLoaded() const { return m_loaded; }
    const std::optional<QString>& busyId() const { return m_busyId; }
    const std::optional<QString>& notice() const { return m_notice; }
    bool noticeIsError() const { return m_noticeIsError; }
    const std::optional<WorkflowLaunchStatus>& launchStatus() const { return m_launchStatus; }
    const QList<WorkflowMarketplaceItem>& marketplaceRows() const { return m_marketplaceRows; }
    bool marketplaceLoaded() const { return m_marketplaceLoaded; }
    bool marketplaceLoading() const { return m_marketplaceLoading; }
    bool marketplaceHasMore() const { return m_marketplaceCursor.has_value(); }
    const std::optional<QString>& marketplaceError() const { return m_marketplaceError; }

    QCoro::Task<void> refresh();
    QCoro::Task<void> run(QString workerId);
    QCoro::Task<void> remove(QString workerId);
    QCoro::Task<void> selectMode(WorkerLauncherMode mode);
    QCoro::Task<void> refreshMarketplace(bool reset);
    QCoro::Task<void> install(QString itemId);
    void dismissNotice();
    // Cancels what runs; late answers are dropped.
    void stop();

    // The meta line: "3 steps · Collects prices every morning", from what the record gives.
    static WorkerLauncherRow rowFor(const Agent& worker);

Q_SIGNALS:
    void changed();
    void unauthorized();
    // A worker was installed or deleted: the sidebar's list is out of date.
    void workersChanged();

private:
    void setNotice(const QString& text, bool isError);
    // The failure's text, or nothing when it should not be shown (cancelled, session lost).
    std::optional<QString> failureText(const std::exception_ptr& error);
    void scheduleLaunchStatusDismiss();
    std::optional<QString> nameOf(const QString& workerId) const;

    AgentService m_agents;
    WorkflowRunsService m_runs;
    WorkerBuildService m_build;
    WorkflowMarketplaceService m_marketplace;
    Clock& m_clock;
    QList<Agent> m_workers;
    QList<WorkerLauncherRow> m_rows;
    WorkerLauncherMode m_mode = WorkerLauncherMode::mine;
    bool m_loaded = false;
    std::optional<QString> m_busyId;
    std::optional<QString> m_notice;
    bool m_noticeIsError = false;
    std::optional<WorkflowLaunchStatus> m_launchStatus;
    std::unique_ptr<TimerHandle> m_launchDismiss;
    QList<WorkflowMarketplaceItem> m_marketplaceRows;
    bool m_marketplaceLoaded = false;
    bool m_marketplaceLoading = false;
    std::optional<QString> m_marketplaceCursor;
    std::optional<QString> m_marketplaceError;
    LatestOnly m_list;
    LatestOnly m_page;
    LatestOnly m_action;
};

} // namespace halvex
