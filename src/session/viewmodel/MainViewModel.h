#pragma once
#include "session/model/RootScreen.h"
// The main window's logic for one signed-in session: it owns the sidebar model, hands it the
// list prefetched at start-up once, and carries the application-wide reactions (notifications,
// selection, becoming active) to the right place.
#include <QObject>
#include <QUrl>

#include <memory>

namespace halvex {

class AgentListViewModel;
class AgentService;
class APIClient;
class AppNotifications;
class Preferences;
class SessionViewModel;

class MainViewModel : public QObject {
    Q_OBJECT
public:
    MainViewModel(SessionViewModel& session, APIClient& api, AgentService& agents, Preferences& preferences,
                  AppNotifications& notifications, QObject* parent = nullptr);
    ~MainViewModel() override;

    AgentListViewModel& sidebar() { return *m_sidebar; }

    // Once, when the main window is first shown.
    void start();
    void applicationBecameActive();

Q_SIGNALS:
    // "halv.openBrowser": show the address in the side panel.
    void openBrowserRequested(const QUrl& url);

private:
    void onNotification(const QString& name, const QVariant& object);

    SessionViewModel& m_session;
    std::unique_ptr<AgentListViewModel> m_sidebar;
    bool m_started = false;
};

} // namespace halvex
