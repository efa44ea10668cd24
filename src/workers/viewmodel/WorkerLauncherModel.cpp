#include "workers/viewmodel/WorkerLauncherModel.h"

#include "core/async/Failure.h"
#include "core/format/Characters.h"

namespace halvex {

WorkerLauncherModel::WorkerLauncherModel(APIClient& api, Clock& clock, QObject* parent)
    : QObject(parent),
      m_agents(api),
      m_runs(api),
      m_build(api),
      m_marketplace(api),
      m_clock(clock)
{}

WorkerLauncherModel::~WorkerLauncherModel() { stop(); }

void WorkerLauncherModel::stop()
{
    m_list.cancel();
    m_page.cancel();
    m_action.cancel();
    m_busyId.reset();
    m_marketplaceLoading = false;
}

WorkerLauncherRow WorkerLauncherModel::rowFor(const Agent& worker)
{
    const QString description = worker.description.value_or(QString()).simplified();
    const QString steps
        = worker.playbook ? QString::number(worker.playbook->size()) + QStringLiteral(" steps") : QString();
    const QString meta = description.isEmpty() ? steps
        : steps.isEmpty()                      ? description
                                               : steps + QStringLiteral(" · ") + description;
    const QString name = worker.name.trimmed().isEmpty() ? QStringLiteral("Worker") : worker.name.trimmed();
    return {worker.id, name, leftCharacters(meta, 140), leftCharacters(name, 1).toUpper()};
}

void WorkerLauncherModel::setNotice(const QString& text, bool isError)
{
    m_notice = text;
    m_noticeIsError = isError;
}

void WorkerLauncherModel::dismissNotice()
{
    m_notice.reset();
    Q_EMIT changed();
}

std::optional<QString> WorkerLauncherModel::failureText(const std::exception_ptr& error)
{
    return Failure::shown(error, [this] { Q_EMIT unauthorized(); });
}

std::optional<QString> WorkerLauncherModel::nameOf(const QString& workerId) const
{
    for (const WorkerLauncherRow& row : m_rows)
        if (row.id == workerId)
            return row.name;
    return std::nullopt;
}

QCoro::Task<void> WorkerLauncherModel::refresh()
{
    const CancelToken token = m_list.next();
    std::exception_ptr failed;
    AgentsListResponse answer;
    try {
        answer = co_await m_agents.list(token);
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failed) {
        if (const auto text = failureText(failed))
            setNotice(QStringLiteral("Could not load workers — ") + *text, true);
    } else {
        m_workers.clear();
        m_rows.clear();
        for (const Agent& a : std::as_const(answer.agents)) {
            if (a.agentType.value_or(QStringLiteral("employee")) == u"employee" || a.status != QStringLiteral("active"))
                continue;
            m_workers.append(a);
            m_rows.append(rowFor(a));
        }
    }
    m_loaded = true;
    Q_EMIT changed();
}

void WorkerLauncherModel::scheduleLaunchStatusDismiss()
{
    // A newer launch replaces the pending dismissal, so its status stays a full five seconds.
    m_launchDismiss = m_clock.schedule(launchStatusMs, [this] {
        m_launchStatus.reset();
        Q_EMIT changed();
    });
}

QCoro::Task<void> WorkerLauncherModel::run(QString workerId)
{
    const auto name = nameOf(workerId);
    if (!name || m_busyId)
        co_return;
    const CancelToken token = m_action.next();
    m_busyId = workerId;
    m_launchStatus = WorkflowLaunchStatus{workerId, *name, WorkflowLaunchStatus::Phase::starting, {}};
    m_launchDismiss.reset();
    Q_EMIT changed();
    WorkflowLaunch launch;
    launch.input = QStringLiteral("Run ") + *name + QStringLiteral(" now.");
    if (deliveryProvider)
        launch.deliveryAgentId = deliveryProvider();
    if (conversationProvider)
        launch.conversationId = conversationProvider();
    std::exception_ptr failed;
    try {
        co_await m_runs.start(workerId, launch, token);
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    m_busyId.reset();
    if (!failed) {
        m_launchStatus->phase = WorkflowLaunchStatus::Phase::accepted;
        setNotice(*name + QStringLiteral(" started — results will land in this chat."), false);
    } else if (const auto text = failureText(failed)) {
        m_launchStatus->phase = WorkflowLaunchStatus::Phase::failed;
        m_launchStatus->message = *text;
        setNotice(QStringLiteral("Could not start ") + *name + QStringLiteral(" — ") + *text, true);
    } else {
        m_launchStatus.reset();
    }
    if (m_launchStatus)
        scheduleLaunchStatusDismiss();
    Q_EMIT changed();
}

QCoro::Task<void> WorkerLauncherModel::remove(QString workerId)
{
    const auto name = nameOf(workerId);
    if (!name || m_busyId)
        co_return;
    const CancelToken token = m_action.next();
    m_busyId = workerId;
    Q_EMIT changed();
    std::exception_ptr failed;
    try {
        co_await m_build.remove(workerId, token);
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    m_busyId.reset();
    if (!failed) {
        m_rows.removeIf([&](const WorkerLauncherRow& r) { return r.id == workerId; });
        m_workers.removeIf([&](const Agent& a) { return a.id == workerId; });
        setNotice(*name + QStringLiteral(" was deleted."), false);
        Q_EMIT workersChanged();
    } else if (const auto text = failureText(failed)) {
        setNotice(QStringLiteral("Could not delete ") + *name + QStringLiteral(" — ") + *text, true);
    }
    Q_EMIT changed();
}

QCoro::Task<void> WorkerLauncherModel::selectMode(WorkerLauncherMode mode)
{
    m_mode = mode;
    Q_EMIT changed();
    if (mode == WorkerLauncherMode::marketplace && !m_marketplaceLoaded && !m_marketplaceLoading)
        co_await refreshMarketplace(true);
}

QCoro::Task<void> WorkerLauncherModel::refreshMarketplace(bool reset)
{
    if (m_marketplaceLoading && !reset)
        co_return;
    if (!reset && m_marketplaceLoaded && !m_marketplaceCursor)
        co_return; // the last page is in
    const CancelToken token = m_page.next();
    const std::optional<QString> cursor = reset ? std::nullopt : m_marketplaceCursor;
    m_marketplaceLoading = true;
    m_marketplaceError.reset();
    Q_EMIT changed();
    std::exception_ptr failed;
    WorkflowMarketplacePage page;
    try {
        page = co_await m_marketplace.list(cursor, token);
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    m_marketplaceLoading = false;
    if (failed) {
        m_marketplaceError = failureText(failed);
    } else {
        if (reset)
            m_marketplaceRows.clear();
        m_marketplaceRows.append(page.workflows);
        m_marketplaceCursor = page.nextCursor && !page.nextCursor->isEmpty() ? page.nextCursor : std::nullopt;
        m_marketplaceLoaded = true;
    }
    Q_EMIT changed();
}

QCoro::Task<void> WorkerLauncherModel::install(QString itemId)
{
    const auto item = std::find_if(m_marketplaceRows.begin(), m_marketplaceRows.end(),
                                   [&](const WorkflowMarketplaceItem& i) { return i.id == itemId; });
    if (item == m_marketplaceRows.end() || m_busyId)
        co_return;
    if (item->installedAgentId && !item->installedAgentId->isEmpty())
        co_return; // already one of the person's workers
    const QString name = item->name;
    const CancelToken token = m_action.next();
    m_busyId = itemId;
    Q_EMIT changed();
    std::exception_ptr failed;
    QString newId;
    try {
        newId = co_await m_marketplace.install(itemId, token);
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    m_busyId.reset();
    if (failed) {
        if (const auto text = failureText(failed))
            setNotice(QStringLiteral("Could not add ") + name + QStringLiteral(" — ") + *text, true);
        Q_EMIT changed();
        co_return;
    }
    for (WorkflowMarketplaceItem& i : m_marketplaceRows)
        if (i.id == itemId)
            i.installedAgentId = newId.isEmpty() ? QStringLiteral("installed") : newId;
    setNotice(name + QStringLiteral(" was added as your private copy."), false);
    Q_EMIT workersChanged();
    Q_EMIT changed();
    co_await refresh();
}

} // namespace halvex
