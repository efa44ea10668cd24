#include "agents/viewmodel/AgentListViewModel.h"

#include "projects/model/ProjectRecords.h"

#include "agents/model/AgentRules.h"
#include "agents/model/BrainModel.h"
#include "agents/model/ChatBackend.h"
#include "agents/model/SidebarSections.h"
#include "agents/service/AgentService.h"
#include "agents/viewmodel/ModelMenuModel.h"
#include "core/APIError.h"
#include "core/format/GroupSlug.h"
#include "core/net/APIClient.h"
#include "core/prefs/Preferences.h"
#include "create/viewmodel/CreateAgentViewModel.h"

namespace halvex {

AgentListViewModel::AgentListViewModel(APIClient& api, AgentService& service, Preferences& preferences, QObject* parent)
    : QObject(parent),
      m_api(api),
      m_service(service),
      m_preferences(preferences)
{
    const QStringList remembered = m_preferences.modelChatIds();
    m_localModelChatIds = QSet<QString>(remembered.begin(), remembered.end());
}

AgentListViewModel::~AgentListViewModel() { m_scope.cancelAll(); }

void AgentListViewModel::stop()
{
    m_scope.cancelAll();
    m_loadInFlight = false;
    m_loadAgainPending = false;
    m_isLoading = false;
}

void AgentListViewModel::setComposingNewChat(bool on)
{
    if (on == m_composingNewChat)
        return;
    m_composingNewChat = on;
    Q_EMIT changed();
}

QList<SidebarSection> AgentListViewModel::tabbedSections() const
{
    return sidebar::tabbedSections(m_tab, m_sections, modelChatAgents(), m_projects);
}

void AgentListViewModel::setProjects(QList<SidebarProject> projects)
{
    m_projects = std::move(projects);
    Q_EMIT sectionsChanged();
}

QList<Agent> AgentListViewModel::visibleAgents() const { return agent_rules::visibleAgents(m_agents); }
std::optional<Agent> AgentListViewModel::orchestratorAgent() const { return agent_rules::orchestrator(m_agents); }
QList<Agent> AgentListViewModel::modelChatAgents() const
{
    return agent_rules::modelChats(m_agents, m_localModelChatIds);
}

int AgentListViewModel::unread(const SidebarItem& item) const
{
    switch (item.kind()) {
    case SidebarItem::Kind::agent:
        return m_unread.value(item.agent().id, 0);
    case SidebarItem::Kind::team:
        return m_teamUnread.value(item.team().slug, 0);
    case SidebarItem::Kind::project:
        return 0;
    }
    return 0;
}

void AgentListViewModel::clearUnread(const QString& backendId)
{
    if (backendId.startsWith(QLatin1String("team:")))
        m_teamUnread[backendId.mid(5)] = 0;
    else
        m_unread[backendId] = 0;
    Q_EMIT changed();
}

std::optional<ChatBackend> AgentListViewModel::selectedBackend() const
{
    if (!m_selectedId)
        return std::nullopt;
    if (m_selectedId->startsWith(QLatin1String("team:"))) {
        const QString slug = m_selectedId->mid(5);
        for (const auto& section : m_sections)
            for (const auto& item : section.items)
                if (item.kind() == SidebarItem::Kind::team && item.team().slug == slug) {
                    const auto& members = item.team().members;
                    return ChatBackend::team(slug, item.team().label,
                                             members.isEmpty() ? std::nullopt : members.first().avatarUrl);
                }
        return std::nullopt;
    }
    for (const Agent& agent : m_agents)
        if (agent.id == *m_selectedId)
            return ChatBackend::agent(agent);
    return std::nullopt;
}

std::optional<ChatBackend> AgentListViewModel::defaultBackend() const
{
    switch (m_tab) {
    case SidebarTab::chat: {
        const auto chats = modelChatAgents();
        return chats.isEmpty() ? std::nullopt : std::optional<ChatBackend>(ChatBackend::agent(chats.first()));
    }
    case SidebarTab::agents:
        for (const Agent& agent : visibleAgents()) {
            const bool modelChat
                = agent.presetKind == QStringLiteral("model_chat") || m_localModelChatIds.contains(agent.id);
            if (!agent.isOrchestrator.value_or(false) && !modelChat)
                return ChatBackend::agent(agent);
        }
        return std::nullopt;
    case SidebarTab::projects:
        return std::nullopt;
    }
    return std::nullopt;
}

QCoro::Task<void> AgentListViewModel::loadCoalesced()
{
    if (m_loadInFlight) {
        m_loadAgainPending = true;
        co_return;
    }
    const CancelToken token = m_scope.token();
    m_loadInFlight = true;
    m_loadAgainPending = false;
    co_await fetch(token);
    while (m_loadAgainPending && !token.isCancelled()) {
        m_loadAgainPending = false;
        co_await fetch(token);
    }
    if (!token.isCancelled())
        m_loadInFlight = false;
}

QCoro::Task<void> AgentListViewModel::fetch(CancelToken token)
{
    m_isLoading = true;
    // A change that just failed stays reported through the reload that shows what the service
    // really has; any other load starts with a clean slate.
    if (!std::exchange(m_keepErrorThroughReload, false))
        setError(std::nullopt);
    try {
        // Built outside the co_await: GCC 12 miscompiles braced temporaries inside it.
        QueryItems query;
        query.append({QStringLiteral("include_activity"), QStringLiteral("1")});
        const auto response
            = co_await m_api.get<AgentsListResponse>(QStringLiteral("api/v2/custom-agents"), query, token);
        if (token.isCancelled())
            co_return;
        apply(response);
    } catch (const std::exception& e) {
        if (token.isCancelled())
            co_return;
        handleFailure(e, true);
    }
    // Reloads follow every turn; the projects are read again only where they show.
    if (!m_projectsLoaded || m_tab == SidebarTab::projects) {
        co_await fetchProjects(token);
        if (token.isCancelled())
            co_return;
    }
    m_isLoading = false;
    Q_EMIT changed();
}

// The projects tab; a failed read keeps the projects last shown and leaves the employees be.
QCoro::Task<void> AgentListViewModel::fetchProjects(CancelToken token)
{
    try {
        const QString path = QStringLiteral("api/v2/projects");
        const QueryItems none;
        const ProjectListResponse answer = co_await m_api.get<ProjectListResponse>(path, none, token);
        if (token.isCancelled())
            co_return;
        QList<SidebarProject> projects;
        for (const Project& p : answer.projects)
            projects.append({p.slug, p.label.isEmpty() ? p.slug : p.label, p.membersCount});
        m_projectsLoaded = true;
        if (projects != m_projects)
            setProjects(std::move(projects));
    } catch (const std::exception&) {}
}

void AgentListViewModel::handleFailure(const std::exception& error, bool listRequest)
{
    if (isCancellation(error))
        return;
    const auto* api = dynamic_cast<const APIError*>(&error);
    if (listRequest && api && api->kind() == APIError::Kind::unauthorized) {
        Q_EMIT unauthorized();
        return;
    }
    setError(halvex::errorText(error));
}

void AgentListViewModel::applyPrefetched(const AgentsListResponse& response) { apply(response); }

void AgentListViewModel::apply(const AgentsListResponse& response)
{
    m_agents = response.agents;
    m_unread = response.unread.value_or(QMap<QString, int>());
    m_teamUnread = response.orchestratorUnread.value_or(QMap<QString, int>());
    recomputeSections();
    // An open project stays open through a reload of the employees.
    const bool projectOpen = m_selectedId && m_selectedId->startsWith(QLatin1String("project:"))
        && std::any_of(m_projects.cbegin(), m_projects.cend(),
                       [&](const SidebarProject& p) { return QStringLiteral("project:") + p.slug == *m_selectedId; });
    if (!projectOpen)
        setSelectedId(sidebar::repairSelection(m_selectedId, m_sections, modelChatAgents()));
    Q_EMIT changed();
}

void AgentListViewModel::recomputeSections()
{
    m_sections = sidebar::computeSections(m_agents, m_localModelChatIds);
    Q_EMIT sectionsChanged();
}

void AgentListViewModel::setSelectedId(std::optional<QString> id)
{
    if (id == m_selectedId)
        return;
    m_selectedId = std::move(id);
    Q_EMIT selectionChanged();
}

void AgentListViewModel::setError(std::optional<QString> error)
{
    if (error == m_error)
        return;
    m_error = std::move(error);
    Q_EMIT changed();
}

void AgentListViewModel::selectTab(int tab)
{
    if (tab >= 0 && tab <= int(SidebarTab::projects))
        selectTab(SidebarTab(tab));
}

void AgentListViewModel::selectTab(SidebarTab tab)
{
    if (tab == m_tab)
        return;
    m_tab = tab;
    Q_EMIT changed();
    Q_EMIT sectionsChanged();
    // The selection follows the tab's default chat.
    const auto target = defaultBackend();
    setSelectedId(target ? std::optional<QString>(target->id()) : std::nullopt);
    if (tab == SidebarTab::projects)
        load();
}

void AgentListViewModel::select(const QString& identity)
{
    setSelectedId(identity.isEmpty() ? std::nullopt : std::optional<QString>(identity));
}

void AgentListViewModel::persistModelChatIds()
{
    QStringList ids(m_localModelChatIds.begin(), m_localModelChatIds.end());
    ids.sort();
    m_preferences.setModelChatIds(ids);
}

void AgentListViewModel::forgetModelChat(const QString& id)
{
    if (m_localModelChatIds.remove(id))
        persistModelChatIds();
}

QCoro::Task<void> AgentListViewModel::createModelChat(std::optional<BrainModel> brain, QString firstMessage)
{
    const CancelToken token = m_scope.token();
    try {
        const QString title = sidebar::chatTitle(firstMessage);
        Agent agent = co_await m_service.createModelChat(title, brain, token);
        if (token.isCancelled())
            co_return;
        m_localModelChatIds.insert(agent.id);
        persistModelChatIds();
        m_agents.append(agent);
        recomputeSections();
        m_composingNewChat = false;
        // Kept before the selection moves: the chat that opens for it takes the message then.
        m_pendingFirstMessage = firstMessage;
        // The new chat shows under Chats; the tab changes without picking its default chat,
        // which would take the message first.
        if (m_tab != SidebarTab::chat) {
            m_tab = SidebarTab::chat;
            Q_EMIT sectionsChanged();
        }
        setSelectedId(agent.id);
        Q_EMIT changed();
    } catch (const std::exception& e) {
        if (!token.isCancelled())
            handleFailure(e, false);
        co_return;
    }
    co_await loadCoalesced();
}

QCoro::Task<void> AgentListViewModel::rename(QString id, QString to)
{
    const QString name = to.trimmed();
    if (name.isEmpty())
        co_return;
    for (Agent& agent : m_agents)
        if (agent.id == id)
            agent.name = name;
    recomputeSections();
    Q_EMIT changed();
    JSONObject body;
    body.insert(QStringLiteral("name"), name);
    co_await patchThenReload(id, body);
}
QCoro::Task<void> AgentListViewModel::patchThenReload(QString id, JSONObject body)
{
    const CancelToken token = m_scope.token();
    try {
        co_await m_service.patch(id, body, token);
    } catch (const std::exception& e) {
        if (token.isCancelled())
            co_return;
        handleFailure(e, false);
        m_keepErrorThroughReload = m_error.has_value();
    }
    // A failed change is reported, and the reload shows what the service really has.
    if (!token.isCancelled())
        co_await loadCoalesced();
}

QCoro::Task<void> AgentListViewModel::deleteChat(QString id)
{
    m_agents.removeIf([&](const Agent& agent) { return agent.id == id; });
    forgetModelChat(id);
    if (m_selectedId == id) {
        const auto lead = orchestratorAgent();
        setSelectedId(lead ? std::optional<QString>(lead->id) : std::nullopt);
    }
    recomputeSections();
    Q_EMIT changed();
    JSONObject body;
    body.insert(QStringLiteral("status"), QStringLiteral("archived"));
    co_await patchThenReload(id, body);
}

QCoro::Task<void> AgentListViewModel::attachHiredAgent(QString id, QString teamSlug, QString teamLabel)
{
    const auto found = std::find_if(m_agents.begin(), m_agents.end(), [&](const Agent& a) { return a.id == id; });
    if (found == m_agents.end())
        co_return;
    const Agent agent = *found;
    if (agent.agentGroup && !agent.agentGroup->isEmpty()) {
        const auto label = GroupSlug::normalize(*agent.agentGroup);
        if (label && GroupSlug::slug(*label) == teamSlug)
            co_return;
        setError(agent_rules::teamMemberDisplayName(agent.name, teamSlug) + QStringLiteral(" already works in ")
                 + *agent.agentGroup + QStringLiteral(" — move it out of that team first."));
        co_return;
    }
    const QString name = sidebar::teamMemberName(agent.name, teamSlug);
    if (name.isEmpty())
        co_return;
    JSONObject body;
    body.insert(QStringLiteral("name"), name);
    body.insert(QStringLiteral("agent_group"), teamLabel);
    co_await patchThenReload(id, body);
}

} // namespace halvex
