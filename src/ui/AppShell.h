#pragma once
// What the windows hang on: the one session, the sign-in card, and — while signed in — the main
// view's models. The main view is built anew on every sign-in.
#include <QObject>
#include <QtQml/qqmlregistration.h>

#include "ChatSession.h"
#include "IdentitySettings.h"
#include "SidebarRows.h"
#include "SignInForm.h"
#include "session/startup/AppUpdater.h"
#include "session/startup/UpdateBadgeModel.h"

#include <memory>

class QQmlEngine;
class QJSEngine;

namespace halvex {

class AgentService;
class APIClient;
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
    Q_PROPERTY(halvex::SidebarRows* sidebar READ sidebar NOTIFY screenChanged)
    Q_PROPERTY(halvex::IdentitySettings* identity READ identity NOTIFY screenChanged)
    Q_PROPERTY(halvex::ChatSession* chatSession READ chatSession NOTIFY screenChanged)
    Q_PROPERTY(QString userName READ userName NOTIFY screenChanged)
    Q_PROPERTY(QString userEmail READ userEmail NOTIFY screenChanged)
    Q_PROPERTY(halvex::AppUpdater* updater READ updater CONSTANT)
    Q_PROPERTY(halvex::UpdateBadgeModel* updateBadge READ updateBadge CONSTANT)
    Q_PROPERTY(bool sidebarCollapsed READ sidebarCollapsed WRITE setSidebarCollapsed NOTIFY sidebarCollapsedChanged)
public:
    // `badge` defaults to the process's shared badge.
    AppShell(APIClient& api, Preferences& preferences, UpdateBadgeModel* badge = nullptr, QObject* parent = nullptr);
    ~AppShell() override;

    static AppShell* create(QQmlEngine*, QJSEngine*);
    static void setInstance(AppShell* shell);

    // "splash", "signIn" or "main".
    QString screen() const;
    SignInForm* signIn() const { return m_signIn.get(); }
    SidebarRows* sidebar() const { return m_sidebarRows.get(); }
    IdentitySettings* identity() const { return m_identity.get(); }
    ChatSession* chatSession() const { return m_chatSession.get(); }
    MainViewModel* mainView() const { return m_main.get(); }
    QString userName() const;
    QString userEmail() const;
    AppUpdater* updater() const { return m_updater.get(); }
    UpdateBadgeModel* updateBadge() const { return &m_badge; }
    bool sidebarCollapsed() const;
    void setSidebarCollapsed(bool collapsed);
    SessionViewModel& session() { return *m_session; }

    // Once, when the root window's content is first shown.
    Q_INVOKABLE void start();
    Q_INVOKABLE void logout();
    Q_INVOKABLE void applicationBecameActive();

Q_SIGNALS:
    void screenChanged();
    void sidebarCollapsedChanged();

private:
    void onSessionChanged();
    void buildMainView();
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
    bool m_started = false;
};

} // namespace halvex
