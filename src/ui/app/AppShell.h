#pragma once
// What the windows hang on: the one session and the sign-in card. While signed in it builds the
// main view's models and hands them to the screens through `Screens`; the main view is built
// anew on every sign-in.
#include <QObject>
#include <QtQml/qqmlregistration.h>

#include "ui/chat/ChatSession.h"
#include "ui/computer/ComputerPanel.h"
#include "ui/create/CreateFlow.h"
#include "ui/marketplace/MarketplaceScreen.h"
#include "ui/media/DocumentViewer.h"
#include "ui/memory/MemoryPanel.h"
#include "ui/projects/ProjectIntakeSheet.h"
#include "ui/projects/ProjectScreen.h"
#include "ui/session/SignInForm.h"
#include "ui/settings/AppsSettings.h"
#include "ui/settings/BillingSettings.h"
#include "ui/settings/EmployeeLogsSettings.h"
#include "ui/settings/GuardrailsSettings.h"
#include "ui/settings/IdentitySettings.h"
#include "ui/sidebar/SidebarRows.h"
#include "ui/sidebar/UsageMeter.h"
#include "ui/voice/Dictation.h"
#include "ui/voice/VoiceCallSheet.h"
#include "ui/workers/WorkerBuilderSheet.h"
#include "ui/workers/WorkerLauncher.h"
#include "ui/workers/WorkerRunPanel.h"

#include "session/viewmodel/AppUpdater.h"
#include "session/viewmodel/UpdateBadgeModel.h"

#include <memory>

class QQmlEngine;
class QJSEngine;

namespace halvex {

class Screens;

class AgentService;
class APIClient;
class ChatAlertWatcher;
class DesktopAlerts;
class AppUpdater;
class MainViewModel;
class Preferences;
class SessionViewModel;
class SidebarFolds;
class SidebarRows;
class SignInForm;
class SignInFormModel;
class UpdateBadgeModel;

class AppShell : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString screen READ screen NOTIFY screenChanged)
    Q_PROPERTY(halvex::SignInForm* signIn READ signIn CONSTANT)
public:
    // `badge` defaults to the process's shared badge.
    AppShell(APIClient& api, Preferences& preferences, UpdateBadgeModel* badge = nullptr, QObject* parent = nullptr);
    ~AppShell() override;

    static AppShell* create(QQmlEngine*, QJSEngine*);
    static void setInstance(AppShell* shell);

    // "splash", "signIn" or "main".
    // The C++ side of the screens' models, for tests and benchmarks; QML reads them from Screens.
    QString screen() const;
    SignInForm* signIn() const { return m_signIn.get(); }
    SidebarRows* sidebar() const { return m_sidebarRows.get(); }
    IdentitySettings* identity() const { return m_identity.get(); }
    ChatSession* chatSession() const { return m_chatSession.get(); }
    CreateFlow* createFlow() const { return m_createFlow.get(); }
    MarketplaceScreen* marketplace() const { return m_marketplace.get(); }
    WorkerBuilderSheet* workerBuilder() const { return m_workerBuilder.get(); }
    WorkerLauncher* workerLauncher() const { return m_workerLauncher.get(); }
    WorkerRunPanel* workerRun() const { return m_workerRun.get(); }
    GuardrailsSettings* guardrails() const { return m_guardrails.get(); }
    AppsSettings* apps() const { return m_apps.get(); }
    EmployeeLogsSettings* employeeLogs() const { return m_employeeLogs.get(); }
    BillingSettings* billing() const { return m_billing.get(); }
    UsageMeter* usage() const { return m_usage.get(); }
    ProjectScreen* project() const { return m_project.get(); }
    MemoryPanel* memory() const { return m_memory.get(); }
    ComputerPanel* computer() const { return m_computer.get(); }
    ProjectIntakeSheet* projectIntake() const { return m_projectIntake.get(); }
    DocumentViewer* documents() const { return m_documents.get(); }
    VoiceCallSheet* voiceCall() const { return m_voiceCall.get(); }
    Dictation* dictation() const { return m_dictation.get(); }
    APIClient& api() const { return m_api; }
    MainViewModel* mainView() const { return m_main.get(); }
    AppUpdater* updater() const { return m_updater.get(); }
    UpdateBadgeModel* updateBadge() const { return &m_badge; }
    SessionViewModel& session() { return *m_session; }

    // Where the open chat's alerts and the unread count go; none in tests without a desktop.
    void setDesktopAlerts(DesktopAlerts* alerts) { m_desktopAlerts = alerts; }

    // Once, when the root window's content is first shown.
    Q_INVOKABLE void start();
    Q_INVOKABLE void logout();
    Q_INVOKABLE void applicationBecameActive();

Q_SIGNALS:
    void screenChanged();

private:
    void onSessionChanged();
    void buildMainView();
    void buildAccountScreens(Screens& screens);
    void followForDesktop();
    void dropMainView();

    APIClient& m_api;
    Preferences& m_preferences;
    UpdateBadgeModel& m_badge;
    std::unique_ptr<AgentService> m_agents;
    std::unique_ptr<SessionViewModel> m_session;
    std::unique_ptr<SignInFormModel> m_form;
    std::unique_ptr<SignInForm> m_signIn;
    std::unique_ptr<AppUpdater> m_updater;
    std::unique_ptr<MainViewModel> m_main;
    std::unique_ptr<SidebarFolds> m_folds;
    std::unique_ptr<SidebarRows> m_sidebarRows;
    std::unique_ptr<IdentitySettings> m_identity;
    std::unique_ptr<ChatSession> m_chatSession;
    std::unique_ptr<CreateFlow> m_createFlow;
    std::unique_ptr<MarketplaceScreen> m_marketplace;
    std::unique_ptr<WorkerBuilderSheet> m_workerBuilder;
    std::unique_ptr<WorkerLauncher> m_workerLauncher;
    std::unique_ptr<WorkerRunPanel> m_workerRun;
    std::unique_ptr<GuardrailsSettings> m_guardrails;
    std::unique_ptr<AppsSettings> m_apps;
    std::unique_ptr<EmployeeLogsSettings> m_employeeLogs;
    std::unique_ptr<BillingSettings> m_billing;
    std::unique_ptr<UsageMeter> m_usage;
    std::unique_ptr<ProjectScreen> m_project;
    std::unique_ptr<MemoryPanel> m_memory;
    std::unique_ptr<ComputerPanel> m_computer;
    std::unique_ptr<ProjectIntakeSheet> m_projectIntake;
    std::unique_ptr<DocumentViewer> m_documents;
    std::unique_ptr<VoiceCallSheet> m_voiceCall;
    std::unique_ptr<Dictation> m_dictation;
    DesktopAlerts* m_desktopAlerts = nullptr;
    std::unique_ptr<ChatAlertWatcher> m_chatAlerts;
    bool m_started = false;
};

} // namespace halvex
