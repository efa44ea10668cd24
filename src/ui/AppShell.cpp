#include "AppShell.h"

#include "ChatSession.h"
#include "IdentitySettings.h"
#include "SidebarFolds.h"
#include "SidebarRows.h"
#include "SignInForm.h"

#include "agents/service/AgentService.h"
#include "agents/identity/IdentitySettingsModel.h"
#include "chat/history/ChatHistoryCache.h"
#include "chat/presentation/PresentationCache.h"
#include "agents/sidebar/AgentListViewModel.h"
#include "core/Config.h"
#include "core/async/Clock.h"
#include "core/net/APIClient.h"
#include "core/prefs/AppNotifications.h"
#include "core/prefs/Preferences.h"
#include "session/auth/SessionViewModel.h"
#include "session/auth/SignInFormModel.h"
#include "session/mainview/MainViewModel.h"
#include "session/mainview/RootScreen.h"
#include "session/startup/AppUpdater.h"
#include "session/startup/TracePoint.h"
#include "session/startup/UpdateBadgeModel.h"

#include <QDesktopServices>
#include <QQmlEngine>

namespace halvex {

namespace {
AppShell* g_instance = nullptr;
}

AppShell::AppShell(APIClient& api, Preferences& preferences, UpdateBadgeModel* badge, QObject* parent)
    : QObject(parent)
    , m_api(api)
    , m_preferences(preferences)
    , m_badge(badge ? *badge : UpdateBadgeModel::shared())
    , m_agents(std::make_unique<AgentService>(api))
    , m_session(std::make_unique<SessionViewModel>(AuthService(api)))
    , m_form(std::make_unique<SignInFormModel>(*m_session))
    , m_signIn(std::make_unique<SignInForm>(*m_form, *m_session))
    , m_updater(std::make_unique<AppUpdater>(QUrl(Config::updateFeedURL()), Config::buildNumber(),
                                             plainHTTPFeedLoader(),
                                             [](const QUrl& url) { return QDesktopServices::openUrl(url); }))
{
    connect(m_session.get(), &SessionViewModel::stateChanged, this, &AppShell::onSessionChanged);
}

AppShell::~AppShell() = default;

AppShell* AppShell::create(QQmlEngine*, QJSEngine*)
{
    QJSEngine::setObjectOwnership(g_instance, QJSEngine::CppOwnership);
    return g_instance;
}

void AppShell::setInstance(AppShell* shell) { g_instance = shell; }

QString AppShell::screen() const
{
    switch (rootScreen(m_session->state())) {
    case RootScreen::splash: return QStringLiteral("splash");
    case RootScreen::signIn: return QStringLiteral("signIn");
    case RootScreen::main: return QStringLiteral("main");
    }
    return QStringLiteral("splash");
}

QString AppShell::userName() const
{
    const auto& user = m_session->state().user();
    if (!user)
        return {};
    return user->fullName.value_or(user->email);
}

QString AppShell::userEmail() const
{
    const auto& user = m_session->state().user();
    return user ? user->email : QString();
}

bool AppShell::sidebarCollapsed() const { return m_preferences.sidebarCollapsed(); }

void AppShell::setSidebarCollapsed(bool collapsed)
{
    if (collapsed == sidebarCollapsed())
        return;
    m_preferences.setSidebarCollapsed(collapsed);
    Q_EMIT sidebarCollapsedChanged();
}

void AppShell::start()
{
    if (m_started)
        return;
    m_started = true;
    m_badge.start();
    m_session->bootstrap();
}

void AppShell::logout() { m_session->logout(); }

void AppShell::applicationBecameActive()
{
    if (m_main)
        m_main->applicationBecameActive();
    m_session->keepWarmIfNeeded();
}

void AppShell::buildMainView()
{
    m_main = std::make_unique<MainViewModel>(*m_session, m_api, *m_agents, m_preferences, AppNotifications::shared());
    m_folds = std::make_unique<SidebarFolds>(m_preferences);
    m_sidebarRows = std::make_unique<SidebarRows>(m_main->sidebar(), *m_folds);
    m_identity = std::make_unique<IdentitySettings>(m_api, m_main->sidebar(), m_preferences);
    connect(m_identity.get(), &IdentitySettings::unauthorized, m_session.get(), &SessionViewModel::handleUnauthorized);
    m_main->start();
    m_chatSession = std::make_unique<ChatSession>(m_api, Clock::system(), m_main->sidebar(), *m_session);
}

void AppShell::dropMainView()
{
    // Signed out: the next account must not see this one's chats, and its messages reuse the
    // ids that presentations are keyed by.
    ChatHistoryCache::shared().clear();
    PresentationCache::shared().clear();
    m_main->sidebar().stop();
    m_identity->model().stop();
    m_chatSession->stop();
    m_chatSession.release()->deleteLater();
    // QML still holds these until the screen swaps; they go once the event loop turns.
    m_identity.release()->deleteLater();
    m_sidebarRows.release()->deleteLater();
    m_folds.release()->deleteLater();
    m_main.release()->deleteLater();
}

void AppShell::onSessionChanged()
{
    const bool loggedIn = m_session->state().isLoggedIn();
    if (loggedIn && !m_main)
        buildMainView();
    else if (!loggedIn && m_main)
        dropMainView();
    Q_EMIT screenChanged();
    if (loggedIn)
        traceEvent("RootContentReady");
    m_session->keepWarmIfNeeded();
}

} // namespace halvex
