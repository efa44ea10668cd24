#include "session/viewmodel/MainViewModel.h"

#include "agents/model/ChatBackend.h"
#include "agents/viewmodel/AgentListViewModel.h"
#include "core/prefs/AppNotifications.h"
#include "session/viewmodel/SessionViewModel.h"

namespace halvex {

MainViewModel::MainViewModel(SessionViewModel& session, APIClient& api, AgentService& agents, Preferences& preferences,
                             AppNotifications& notifications, QObject* parent)
    : QObject(parent),
      m_session(session),
      m_sidebar(std::make_unique<AgentListViewModel>(api, agents, preferences))
{
    connect(&session, &SessionViewModel::stateChanged, this, [this] { m_session.keepWarmIfNeeded(); });
    connect(&notifications, &AppNotifications::posted, this, &MainViewModel::onNotification);
    // A newly selected chat is read: its badge goes.
    connect(m_sidebar.get(), &AgentListViewModel::selectionChanged, this, [this] {
        if (const auto backend = m_sidebar->selectedBackend())
            m_sidebar->clearUnread(backend->id());
    });
}

MainViewModel::~MainViewModel() { m_sidebar->stop(); }

void MainViewModel::start()
{
    if (m_started)
        return;
    m_started = true;
    connect(m_sidebar.get(), &AgentListViewModel::unauthorized, &m_session, &SessionViewModel::handleUnauthorized);
    if (auto prefetched = m_session.takePrefetchedAgents())
        m_sidebar->applyPrefetched(*prefetched);
    else
        m_sidebar->load();
}

void MainViewModel::applicationBecameActive() { m_session.keepWarmIfNeeded(); }

void MainViewModel::onNotification(const QString& name, const QVariant& object)
{
    if (name == Notification::halvChatRead) {
        m_sidebar->clearUnread(object.toString());
    } else if (name == Notification::halvAgentsChanged || name == Notification::halvTeamRenamed) {
        m_sidebar->load();
    } else if (name == Notification::halvAgentCreated) {
        m_sidebar->finishCreation(object.toString());
    } else if (name == Notification::halvOpenAgent) {
        m_sidebar->select(object.toString());
    } else if (name == Notification::halvOpenBrowser) {
        Q_EMIT openBrowserRequested(object.toUrl());
    }
}

} // namespace halvex
