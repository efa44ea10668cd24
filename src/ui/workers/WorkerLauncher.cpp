#include "ui/workers/WorkerLauncher.h"

#include "agents/viewmodel/AgentListViewModel.h"
#include "ui/workers/WorkerBuilderSheet.h"

namespace halvex {

WorkerLauncher::WorkerLauncher(APIClient& api, Clock& clock, AgentListViewModel& sidebar, WorkerBuilderSheet& builder,
                               QObject* parent)
    : QObject(parent),
      m_sidebar(sidebar),
      m_builder(builder),
      m_model(api, clock)
{
    m_model.deliveryProvider = [this] { return deliveryTarget(); };
    connect(&m_model, &WorkerLauncherModel::changed, this, &WorkerLauncher::changed);
    connect(&m_model, &WorkerLauncherModel::unauthorized, this, &WorkerLauncher::unauthorized);
    connect(&m_model, &WorkerLauncherModel::workersChanged, &m_sidebar, [this] { m_sidebar.load(); });
}

// The open chat's employee receives the result; a worker's own chat gets it anyway.
std::optional<QString> WorkerLauncher::deliveryTarget() const
{
    const auto selected = m_sidebar.selectedId();
    if (!selected)
        return std::nullopt;
    for (const Agent& a : m_sidebar.agents())
        if (a.id == *selected)
            return a.agentType == QStringLiteral("worker") ? std::nullopt : std::optional<QString>(a.id);
    return std::nullopt;
}

QString WorkerLauncher::mode() const
{
    return m_model.mode() == WorkerLauncherMode::marketplace ? QStringLiteral("marketplace") : QStringLiteral("mine");
}

QVariantList WorkerLauncher::rows() const
{
    QVariantList out;
    for (const WorkerLauncherRow& r : m_model.rows())
        out << QVariantMap{{QStringLiteral("id"), r.id},
                           {QStringLiteral("name"), r.name},
                           {QStringLiteral("meta"), r.meta},
                           {QStringLiteral("initial"), r.initial}};
    return out;
}

QString WorkerLauncher::launchTitle() const
{
    return m_model.launchStatus() ? m_model.launchStatus()->title() : QString();
}

QString WorkerLauncher::launchPhase() const
{
    if (!m_model.launchStatus())
        return {};
    switch (m_model.launchStatus()->phase) {
    case WorkflowLaunchStatus::Phase::starting:
        return QStringLiteral("starting");
    case WorkflowLaunchStatus::Phase::accepted:
        return QStringLiteral("accepted");
    case WorkflowLaunchStatus::Phase::failed:
        return QStringLiteral("failed");
    }
    return {};
}

QString WorkerLauncher::launchMessage() const
{
    return m_model.launchStatus() ? m_model.launchStatus()->message : QString();
}

QVariantList WorkerLauncher::marketplaceRows() const
{
    QVariantList out;
    for (const WorkflowMarketplaceItem& i : m_model.marketplaceRows()) {
        const QString creator = i.creatorFullName.value_or(i.creatorHandle.value_or(QString()));
        auto count = [](int n, const char* one, const char* many) {
            return QString::number(n) + QLatin1Char(' ') + QString::fromLatin1(n == 1 ? one : many);
        };
        const QStringList counts{count(i.playbookStepsCount, "step", "steps"), count(i.toolsCount, "tool", "tools"),
                                 count(i.installsCount, "install", "installs")};
        out << QVariantMap{
            {QStringLiteral("id"), i.id},
            {QStringLiteral("name"), i.name},
            {QStringLiteral("description"), i.description.value_or(i.role.value_or(QString()))},
            {QStringLiteral("byline"), creator.isEmpty() ? QString() : QStringLiteral("by ") + creator},
            {QStringLiteral("counts"), counts.join(QStringLiteral(" · "))},
            {QStringLiteral("installed"), i.installedAgentId.has_value() && !i.installedAgentId->isEmpty()},
            {QStringLiteral("owned"), i.owned}};
    }
    return out;
}

void WorkerLauncher::show()
{
    m_model.refresh();
    if (m_model.mode() == WorkerLauncherMode::marketplace)
        m_model.refreshMarketplace(true);
}

void WorkerLauncher::hide() { m_model.dismissNotice(); }

void WorkerLauncher::selectMode(const QString& mode)
{
    m_model.selectMode(mode == u"marketplace" ? WorkerLauncherMode::marketplace : WorkerLauncherMode::mine);
}

void WorkerLauncher::run(const QString& workerId) { m_model.run(workerId); }
void WorkerLauncher::remove(const QString& workerId) { m_model.remove(workerId); }
void WorkerLauncher::install(const QString& itemId) { m_model.install(itemId); }
void WorkerLauncher::loadMore() { m_model.refreshMarketplace(false); }
void WorkerLauncher::edit(const QString& workerId) { m_builder.edit(workerId); }
void WorkerLauncher::newWorker() { m_builder.startNew(); }

} // namespace halvex
