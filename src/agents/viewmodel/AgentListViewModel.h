#pragma once
// The one model behind the sidebar: the agents, their unread counts, the selection, the three
// tabs and their sections, and the list-level operations. One per signed-in session.
#include "agents/model/AgentsListResponse.h"
#include "agents/model/SidebarItem.h"
#include "core/async/CancelToken.h"
#include "core/json/JSONValue.h"
#include "create/model/ClarifyRounds.h"

#include <QMap>
#include <QObject>
#include <QSet>

#include <functional>
#include <memory>
#include <optional>

#include <qcorotask.h>

namespace halvex {

class APIClient;
class AgentService;
class ChatBackend;
class CreateAgentViewModel;
class ModelMenuModel;
class Preferences;
struct BrainModel;

class AgentListViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY changed)
    Q_PROPERTY(QString error READ errorText NOTIFY changed)
    Q_PROPERTY(QString selectedId READ selectedIdText NOTIFY selectionChanged)
    Q_PROPERTY(int tab READ tabIndex NOTIFY changed)
    Q_PROPERTY(int searchFocusTick READ searchFocusTick NOTIFY changed)
    Q_PROPERTY(bool composingNewChat READ composingNewChat WRITE setComposingNewChat NOTIFY changed)
    Q_PROPERTY(bool creatingAgent READ creatingAgent NOTIFY changed)
    Q_PROPERTY(bool showingMarketplace READ showingMarketplace WRITE setShowingMarketplace NOTIFY changed)
public:
    // A team or project that a hire or a creation lands in, once it is done.
    struct Target {
        QString slug;
        QString label;
    };

    AgentListViewModel(APIClient& api, AgentService& service, Preferences& preferences, QObject* parent = nullptr);
    ~AgentListViewModel() override;

    // State
    SidebarTab tab() const { return m_tab; }
    int tabIndex() const { return int(m_tab); }
    const QList<Agent>& agents() const { return m_agents; }
    const QMap<QString, int>& unreadCounts() const { return m_unread; }
    const QMap<QString, int>& teamUnreadCounts() const { return m_teamUnread; }
    const std::optional<QString>& selectedId() const { return m_selectedId; }
    QString selectedIdText() const { return m_selectedId.value_or(QString()); }
    bool isLoading() const { return m_isLoading; }
    const std::optional<QString>& error() const { return m_error; }
    QString errorText() const { return m_error.value_or(QString()); }
    int searchFocusTick() const { return m_searchFocusTick; }
    bool composingNewChat() const { return m_composingNewChat; }
    void setComposingNewChat(bool on);
    const std::optional<QString>& pendingFirstMessage() const { return m_pendingFirstMessage; }
    std::optional<QString> takePendingFirstMessage() { return std::exchange(m_pendingFirstMessage, std::nullopt); }
    const QSet<QString>& localModelChatIds() const { return m_localModelChatIds; }
    const QList<SidebarSection>& sections() const { return m_sections; }
    QList<SidebarSection> tabbedSections() const;
    void setProjects(QList<SidebarProject> projects);
    // Reads the projects again, wherever the tab stands (a project was just created); a failed
    // read keeps the projects last shown.
    QCoro::Task<void> fetchProjects(CancelToken token);

    // Derived lists over `agents`
    QList<Agent> visibleAgents() const;
    std::optional<Agent> orchestratorAgent() const;
    QList<Agent> modelChatAgents() const;

    int unread(const SidebarItem& item) const;
    Q_INVOKABLE void clearUnread(const QString& backendId);
    std::optional<ChatBackend> selectedBackend() const;
    std::optional<ChatBackend> defaultBackend() const;

    // Operations
    Q_INVOKABLE void load() { loadCoalesced(); }
    QCoro::Task<void> loadCoalesced();
    void applyPrefetched(const AgentsListResponse& response);
    Q_INVOKABLE void selectTab(int tab);
    void selectTab(SidebarTab tab);
    Q_INVOKABLE void select(const QString& identity);
    Q_INVOKABLE void focusSearch()
    {
        ++m_searchFocusTick;
        Q_EMIT changed();
    }
    QCoro::Task<void> createModelChat(std::optional<BrainModel> brain, QString firstMessage);
    QCoro::Task<void> rename(QString id, QString to);
    QCoro::Task<void> deleteChat(QString id);
    QCoro::Task<void> attachHiredAgent(QString id, QString teamSlug, QString teamLabel);
    Q_INVOKABLE void renameChat(const QString& id, const QString& to) { rename(id, to); }
    Q_INVOKABLE void removeChat(const QString& id) { deleteChat(id); }
    void forgetModelChat(const QString& id);

    // The detail screens over the chat: the create flow and the marketplace (one at a time).
    bool creatingAgent() const { return m_creatingAgent; }
    bool showingMarketplace() const { return m_showingMarketplace; }
    void setShowingMarketplace(bool on);
    CreateAgentViewModel& createFlow();
    // The model menu of the new-chat composer and the create flow.
    ModelMenuModel& modelMenu();
    const std::optional<Target>& pendingHireTeam() const { return m_pendingHireTeam; }
    const std::optional<Target>& pendingHireProject() const { return m_pendingHireProject; }
    const std::optional<Target>& pendingCreateProject() const { return m_pendingCreateProject; }
    void setPendingHireTeam(std::optional<Target> team);
    void setPendingHireProject(std::optional<Target> project);
    // `mode` is "employee" or "worker" for a single employee.
    void startCreateAgent(CreateKind kind, const QString& mode = QStringLiteral("employee"));
    void startCreateAgentForProject(const QString& slug, const QString& label);
    void closeCreateAgent();
    void closeDetailScreens();
    // A hire or creation finished: join its pending team, close the screens, select it.
    void finishCreation(const QString& agentId);
    // The main view stops the model when the session ends: requests in flight are dropped.
    void stop();

Q_SIGNALS:
    // A list request answered "unauthorized": the owner returns to sign-in.
    void unauthorized();
    void changed();
    void sectionsChanged();
    void selectionChanged();

private:
    QCoro::Task<void> fetch(CancelToken token);
    QCoro::Task<void> patchThenReload(QString id, JSONObject body);
    void apply(const AgentsListResponse& response);
    void recomputeSections();
    void setSelectedId(std::optional<QString> id);
    void setError(std::optional<QString> error);
    void persistModelChatIds();
    void handleFailure(const std::exception& error, bool listRequest);

    APIClient& m_api;
    AgentService& m_service;
    Preferences& m_preferences;
    TaskScope m_scope;

    SidebarTab m_tab = SidebarTab::agents;
    QList<Agent> m_agents;
    QMap<QString, int> m_unread;
    QMap<QString, int> m_teamUnread;
    std::optional<QString> m_selectedId;
    bool m_isLoading = false;
    bool m_keepErrorThroughReload = false;
    std::optional<QString> m_error;
    int m_searchFocusTick = 0;
    bool m_composingNewChat = false;
    std::optional<QString> m_pendingFirstMessage;
    QSet<QString> m_localModelChatIds;
    bool m_loadInFlight = false;
    bool m_loadAgainPending = false;
    QList<SidebarSection> m_sections;
    QList<SidebarProject> m_projects;
    bool m_projectsLoaded = false;
    std::unique_ptr<CreateAgentViewModel> m_createFlow;
    std::unique_ptr<ModelMenuModel> m_modelMenu;
    bool m_creatingAgent = false;
    bool m_showingMarketplace = false;
    std::optional<Target> m_pendingHireTeam;
    std::optional<Target> m_pendingHireProject;
    std::optional<Target> m_pendingCreateProject;
};

} // namespace halvex
