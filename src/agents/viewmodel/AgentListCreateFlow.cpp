// The sidebar's part in creating and hiring: which detail screen shows over the chat, the
// create flow it owns, and where a finished hire lands.
#include "agents/viewmodel/AgentListViewModel.h"

#include "agents/viewmodel/ModelMenuModel.h"
#include "core/async/Clock.h"
#include "core/prefs/AppNotifications.h"
#include "create/viewmodel/CreateAgentViewModel.h"

namespace halvex {

CreateAgentViewModel& AgentListViewModel::createFlow()
{
    if (!m_createFlow)
        m_createFlow = std::make_unique<CreateAgentViewModel>(m_api, Clock::system(), AppNotifications::shared());
    return *m_createFlow;
}

ModelMenuModel& AgentListViewModel::modelMenu()
{
    if (!m_modelMenu)
        m_modelMenu = std::make_unique<ModelMenuModel>(m_api);
    return *m_modelMenu;
}

void AgentListViewModel::setShowingMarketplace(bool on)
{
    if (on == m_showingMarketplace)
        return;
    if (on)
        closeCreateAgent();
    m_showingMarketplace = on;
    Q_EMIT changed();
}

void AgentListViewModel::setPendingHireTeam(std::optional<Target> team) { m_pendingHireTeam = std::move(team); }

void AgentListViewModel::setPendingHireProject(std::optional<Target> project)
{
    m_pendingHireProject = std::move(project);
}

void AgentListViewModel::startCreateAgent(CreateKind kind, const QString& mode)
{
    CreateAgentViewModel& flow = createFlow();
    if (m_creatingAgent && flow.inProgress()) {
        setError(QStringLiteral("Finish the current employee creation before starting one for ")
                 + (kind == CreateKind::team ? QStringLiteral("a new team") : QStringLiteral("a new employee")));
        return;
    }
    flow.reset();
    flow.kind = kind;
    flow.mode = mode;
    m_pendingCreateProject.reset();
    m_showingMarketplace = false;
    m_creatingAgent = true;
    Q_EMIT changed();
}

void AgentListViewModel::startCreateAgentForProject(const QString& slug, const QString& label)
{
    CreateAgentViewModel& flow = createFlow();
    if (m_creatingAgent && flow.inProgress()) {
        setError(QStringLiteral("Finish the current employee creation before starting one for ") + label);
        return;
    }
    flow.reset();
    flow.projectSlug = slug;
    m_pendingCreateProject = Target{slug, label};
    m_showingMarketplace = false;
    m_creatingAgent = true;
    Q_EMIT changed();
}

void AgentListViewModel::closeCreateAgent()
{
    if (m_createFlow)
        m_createFlow->stop();
    m_pendingCreateProject.reset();
    if (!m_creatingAgent)
        return;
    m_creatingAgent = false;
    Q_EMIT changed();
}

void AgentListViewModel::closeDetailScreens()
{
    closeCreateAgent();
    setShowingMarketplace(false);
}

void AgentListViewModel::finishCreation(const QString& agentId)
{
    const std::optional<Target> team = std::exchange(m_pendingHireTeam, std::nullopt);
    m_pendingHireProject.reset();
    closeDetailScreens();
    if (agentId.isEmpty()) {
        load();
        return;
    }
    select(agentId);
    if (team)
        attachHiredAgent(agentId, team->slug, team->label);
    else
        load();
}

} // namespace halvex
