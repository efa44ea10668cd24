#include "ui/app/AppShell.h"

#include "ui/controls/Links.h"
#include "ui/controls/Screens.h"

#include "ui/chat/ChatSession.h"
#include "ui/session/SignInForm.h"
#include "ui/settings/IdentitySettings.h"
#include "ui/sidebar/SidebarFolds.h"
#include "ui/sidebar/SidebarRows.h"

#include "agents/service/AgentService.h"
#include "agents/viewmodel/AgentListViewModel.h"
#include "agents/viewmodel/IdentitySettingsModel.h"
#include "chat/service/ChatHistoryCache.h"
#include "chat/viewmodel/presentation/PresentationCache.h"
#include "core/Config.h"
#include "core/async/Clock.h"
#include "core/async/TracePoint.h"
#include "core/net/APIClient.h"
#include "core/net/PersistentCookieJar.h"
#include "core/prefs/AppNotifications.h"
#include "core/prefs/Preferences.h"
#include "create/viewmodel/CreateAgentViewModel.h"
#include "desktop/viewmodel/ChatAlertWatcher.h"
#include "desktop/viewmodel/DesktopAlerts.h"
#include "session/model/RootScreen.h"
#include "session/viewmodel/AppUpdater.h"
#include "session/viewmodel/MainViewModel.h"
#include "session/viewmodel/SessionViewModel.h"
#include "session/viewmodel/SignInFormModel.h"
#include "session/viewmodel/UpdateBadgeModel.h"
#include <QNetworkAccessManager>

#include <QDesktopServices>
#include <QQmlEngine>

namespace halvex {

namespace {
AppShell* g_instance = nullptr;
}

AppShell::AppShell(APIClient& api, Preferences& preferences, UpdateBadgeModel* badge, QObject* parent)
    : QObject(parent),
      m_api(api),
      m_preferences(preferences),
      m_badge(badge ? *badge : UpdateBadgeModel::shared()),
      m_agents(std::make_unique<AgentService>(api)),
      m_session(std::make_unique<SessionViewModel>(AuthService(api))),
      m_form(std::make_unique<SignInFormModel>(*m_session)),
      m_signIn(std::make_unique<SignInForm>(*m_form, *m_session)),
      m_updater(std::make_unique<AppUpdater>(QUrl(Config::updateFeedURL()), Config::buildNumber(),
                                             plainHTTPFeedLoader(),
                                             [](const QUrl& url) { return QDesktopServices::openUrl(url); }))
{
    connect(m_session.get(), &SessionViewModel::stateChanged, this, &AppShell::onSessionChanged);
    Screens::instance().put(QStringLiteral("updater"), m_updater.get());
    Screens::instance().put(QStringLiteral("updateBadge"), &m_badge);
}

AppShell::~AppShell()
{
    Links::setDocumentOpener({});
    for (const char* name :
         {"updater",      "updateBadge",   "sidebar",        "identity",  "chat",          "create",
          "marketplace",  "workerBuilder", "workerLauncher", "workerRun", "guardrails",    "apps",
          "employeeLogs", "billing",       "usage",          "project",   "projectIntake", "documents",
          "memory",       "voiceCall",     "dictation",      "computer"})
        Screens::instance().remove(QLatin1String(name));
}

AppShell* AppShell::create(QQmlEngine*, QJSEngine*)
{
    QJSEngine::setObjectOwnership(g_instance, QJSEngine::CppOwnership);
    return g_instance;
}

void AppShell::setInstance(AppShell* shell) { g_instance = shell; }

QString AppShell::screen() const
{
    switch (rootScreen(m_session->state())) {
    case RootScreen::splash:
        return QStringLiteral("splash");
    case RootScreen::signIn:
        return QStringLiteral("signIn");
    case RootScreen::main:
        return QStringLiteral("main");
    }
    return QStringLiteral("splash");
}

void AppShell::start()
{
    if (m_started)
        return;
    m_started = true;
    m_badge.start();
    // The session cookie may still be on its way from the secret store; the jar answers within
    // its own bound, found or not.
    auto* jar = qobject_cast<PersistentCookieJar*>(m_api.network().cookieJar());
    if (jar && !jar->isReady()) {
        connect(
            jar, &PersistentCookieJar::ready, m_session.get(), [session = m_session.get()] { session->bootstrap(); },
            Qt::SingleShotConnection);
        return;
    }
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
    SidebarRows::Account account;
    if (const auto& user = m_session->state().user()) {
        account.name = user->fullName.value_or(user->email);
        account.email = user->email;
    }
    m_sidebarRows = std::make_unique<SidebarRows>(m_main->sidebar(), *m_folds, m_preferences, account);
    m_identity = std::make_unique<IdentitySettings>(m_api, m_main->sidebar(), m_preferences);
    connect(m_identity.get(), &IdentitySettings::unauthorized, m_session.get(), &SessionViewModel::handleUnauthorized);
    m_main->start();
    m_chatSession = std::make_unique<ChatSession>(m_api, Clock::system(), m_main->sidebar(), *m_session);
    m_createFlow = std::make_unique<CreateFlow>(m_main->sidebar());
    connect(&m_main->sidebar().createFlow(), &CreateAgentViewModel::unauthorized, m_session.get(),
            &SessionViewModel::handleUnauthorized);
    Screens& screens = Screens::instance();
    screens.put(QStringLiteral("create"), m_createFlow.get());
    m_marketplace = std::make_unique<MarketplaceScreen>(m_api, m_main->sidebar(), AppNotifications::shared());
    connect(m_marketplace.get(), &MarketplaceScreen::unauthorized, m_session.get(),
            &SessionViewModel::handleUnauthorized);
    screens.put(QStringLiteral("marketplace"), m_marketplace.get());
    m_workerBuilder = std::make_unique<WorkerBuilderSheet>(m_api, Clock::system(), m_main->sidebar());
    m_workerLauncher = std::make_unique<WorkerLauncher>(m_api, Clock::system(), m_main->sidebar(), *m_workerBuilder);
    m_workerRun = std::make_unique<WorkerRunPanel>(m_api, Clock::system(), m_main->sidebar(), *m_workerBuilder);
    connect(m_workerBuilder.get(), &WorkerBuilderSheet::unauthorized, m_session.get(),
            &SessionViewModel::handleUnauthorized);
    connect(m_workerLauncher.get(), &WorkerLauncher::unauthorized, m_session.get(),
            &SessionViewModel::handleUnauthorized);
    connect(m_workerRun.get(), &WorkerRunPanel::unauthorized, m_session.get(), &SessionViewModel::handleUnauthorized);
    screens.put(QStringLiteral("workerBuilder"), m_workerBuilder.get());
    screens.put(QStringLiteral("workerLauncher"), m_workerLauncher.get());
    screens.put(QStringLiteral("workerRun"), m_workerRun.get());
    buildAccountScreens(screens);
    m_project = std::make_unique<ProjectScreen>(m_api, m_main->sidebar());
    connect(m_project.get(), &ProjectScreen::unauthorized, m_session.get(), &SessionViewModel::handleUnauthorized);
    screens.put(QStringLiteral("project"), m_project.get());
    m_memory = std::make_unique<MemoryPanel>(m_api, m_main->sidebar());
    connect(m_memory.get(), &MemoryPanel::unauthorized, m_session.get(), &SessionViewModel::handleUnauthorized);
    screens.put(QStringLiteral("memory"), m_memory.get());
    m_computer = std::make_unique<ComputerPanel>(m_api, Clock::system(), m_preferences, m_main->sidebar(),
                                                 AppNotifications::shared());
    connect(m_computer.get(), &ComputerPanel::unauthorized, m_session.get(), &SessionViewModel::handleUnauthorized);
    // The computer follows the open chat: its turn, its browse steps, "halv.openBrowser".
    connect(m_chatSession.get(), &ChatSession::chatChanged, m_computer.get(),
            [computer = m_computer.get(), chat = m_chatSession.get()] { computer->followChat(chat->chat()); });
    m_computer->followChat(m_chatSession->chat());
    connect(m_main.get(), &MainViewModel::openBrowserRequested, m_computer.get(), &ComputerPanel::showAddress);
    screens.put(QStringLiteral("computer"), m_computer.get());
    m_projectIntake = std::make_unique<ProjectIntakeSheet>(m_api, Clock::system(), m_preferences, m_main->sidebar());
    connect(m_projectIntake.get(), &ProjectIntakeSheet::unauthorized, m_session.get(),
            &SessionViewModel::handleUnauthorized);
    screens.put(QStringLiteral("projectIntake"), m_projectIntake.get());
    m_documents = std::make_unique<DocumentViewer>(m_api, &Links::openOnDesktop);
    connect(m_documents.get(), &DocumentViewer::unauthorized, m_session.get(), &SessionViewModel::handleUnauthorized);
    Links::setDocumentOpener([viewer = m_documents.get()](const QUrl& url, const QString& name, const QString& mime) {
        viewer->show(url, name, mime);
        return true;
    });
    screens.put(QStringLiteral("documents"), m_documents.get());
    m_voiceCall = std::make_unique<VoiceCallSheet>(m_api, Clock::system(), m_main->sidebar());
    connect(m_voiceCall.get(), &VoiceCallSheet::unauthorized, m_session.get(), &SessionViewModel::handleUnauthorized);
    screens.put(QStringLiteral("voiceCall"), m_voiceCall.get());
    m_dictation = std::make_unique<Dictation>(m_api, Clock::system());
    connect(m_dictation.get(), &Dictation::unauthorized, m_session.get(), &SessionViewModel::handleUnauthorized);
    screens.put(QStringLiteral("dictation"), m_dictation.get());
    screens.put(QStringLiteral("sidebar"), m_sidebarRows.get());
    screens.put(QStringLiteral("identity"), m_identity.get());
    screens.put(QStringLiteral("chat"), m_chatSession.get());
    followForDesktop();
}

// The open chat's news and the sidebar's unread counts reach the desktop while the window is
// in the background.
void AppShell::followForDesktop()
{
    if (!m_desktopAlerts)
        return;
    m_chatAlerts = std::make_unique<ChatAlertWatcher>();
    connect(m_chatAlerts.get(), &ChatAlertWatcher::alert, m_desktopAlerts, &DesktopAlerts::alert);
    connect(m_chatSession.get(), &ChatSession::chatChanged, m_chatAlerts.get(),
            [watcher = m_chatAlerts.get(), chat = m_chatSession.get()] { watcher->follow(chat->chat()); });
    m_chatAlerts->follow(m_chatSession->chat());
    const auto countUnread = [alerts = m_desktopAlerts, sidebar = &m_main->sidebar()] {
        qint64 total = 0;
        for (const int count : sidebar->unreadCounts())
            total += std::max(count, 0);
        for (const int count : sidebar->teamUnreadCounts())
            total += std::max(count, 0);
        alerts->setUnread(total);
    };
    connect(&m_main->sidebar(), &AgentListViewModel::changed, m_chatAlerts.get(), countUnread);
    countUnread();
}

// The settings pages of an employee and of the account, and the sidebar's usage meter.
void AppShell::buildAccountScreens(Screens& screens)
{
    m_guardrails = std::make_unique<GuardrailsSettings>(m_api, *m_identity);
    m_apps = std::make_unique<AppsSettings>(m_api, *m_identity);
    m_employeeLogs = std::make_unique<EmployeeLogsSettings>(m_api, *m_identity);
    m_billing = std::make_unique<BillingSettings>(m_api, Clock::system());
    m_usage = std::make_unique<UsageMeter>(m_api);
    SessionViewModel* session = m_session.get();
    connect(m_guardrails.get(), &GuardrailsSettings::unauthorized, session, &SessionViewModel::handleUnauthorized);
    connect(m_apps.get(), &AppsSettings::unauthorized, session, &SessionViewModel::handleUnauthorized);
    connect(m_employeeLogs.get(), &EmployeeLogsSettings::unauthorized, session, &SessionViewModel::handleUnauthorized);
    // Every finished turn has spent something.
    connect(m_chatSession.get(), &ChatSession::turnFinished, m_usage.get(), &UsageMeter::refresh);
    m_usage->refresh();
    screens.put(QStringLiteral("guardrails"), m_guardrails.get());
    screens.put(QStringLiteral("apps"), m_apps.get());
    screens.put(QStringLiteral("employeeLogs"), m_employeeLogs.get());
    screens.put(QStringLiteral("billing"), m_billing.get());
    screens.put(QStringLiteral("usage"), m_usage.get());
}

void AppShell::dropMainView()
{
    // Signed out: the next account must not see this one's chats, and its messages reuse the
    // ids that presentations are keyed by.
    Screens& screens = Screens::instance();
    for (const char* name :
         {"sidebar",       "identity",   "chat",   "create",       "marketplace", "workerBuilder", "workerLauncher",
          "workerRun",     "guardrails", "apps",   "employeeLogs", "billing",     "usage",         "project",
          "projectIntake", "documents",  "memory", "voiceCall",    "dictation",   "computer"})
        screens.remove(QLatin1String(name));
    Links::setDocumentOpener({});
    ChatHistoryCache::shared().clear();
    PresentationCache::shared().clear();
    m_main->sidebar().stop();
    m_identity->model().stop();
    m_chatSession->stop();
    if (m_chatAlerts) {
        m_chatAlerts.reset();
        m_desktopAlerts->setUnread(0);
    }
    m_main->sidebar().closeDetailScreens();
    m_createFlow.release()->deleteLater();
    m_marketplace.release()->deleteLater();
    // The run panel and the launcher refer to the builder: they go first.
    m_workerRun.release()->deleteLater();
    m_workerLauncher.release()->deleteLater();
    m_workerBuilder.release()->deleteLater();
    m_guardrails.release()->deleteLater();
    m_apps.release()->deleteLater();
    m_employeeLogs.release()->deleteLater();
    m_billing.release()->deleteLater();
    m_usage.release()->deleteLater();
    m_memory->close();
    m_memory.release()->deleteLater();
    m_computer->followChat(nullptr);
    m_computer.release()->deleteLater();
    m_project.release()->deleteLater();
    m_projectIntake.release()->deleteLater();
    m_documents.release()->deleteLater();
    m_voiceCall->close();
    m_voiceCall.release()->deleteLater();
    m_dictation.release()->deleteLater();
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
    if (loggedIn && !m_main) {
        TraceSpan span("BuildMainViewModels");
        buildMainView();
    } else if (!loggedIn && m_main) {
        dropMainView();
    }
    {
        TraceSpan span("RootScreenChange");
        Q_EMIT screenChanged();
    }
    if (loggedIn)
        traceEvent("RootContentReady");
    m_session->keepWarmIfNeeded();
}

} // namespace halvex
