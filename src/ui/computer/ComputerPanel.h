#pragma once
// The employee's computer as QML reads it: the live view beside the chat, the in-app browser's
// catalog of services to sign the employee's browser in to, and the browser provider.
//
// It follows the sidebar: every employee chat gets its own watcher (`AgentLiveBrowserModel`),
// kicked when the chat shows and when the chat shows a new browse step; a team chat has none.
// The side panel opens when a session becomes current (unless the user closed that session's
// view), from the chat header's Computer button, and on "halv.openBrowser". Its width is kept
// under "hx-browser-panel-width".
#include "computer/viewmodel/AgentLiveBrowserModel.h"

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <memory>

namespace halvex {

class AgentListViewModel;
class AppNotifications;
class ChatViewModel;
class Preferences;

class ComputerPanel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    // An employee's chat is open, so there is a computer to show.
    Q_PROPERTY(bool available READ available NOTIFY changed)
    Q_PROPERTY(QString agentName READ agentName NOTIFY changed)
    Q_PROPERTY(bool panelOpen READ panelOpen NOTIFY changed)
    Q_PROPERTY(bool hasSession READ hasSession NOTIFY changed)
    // What the side panel's web view shows: the live view of the current session, or an
    // address asked for with "halv.openBrowser"; empty shows the panel's own start page.
    Q_PROPERTY(QString viewUrl READ viewUrl NOTIFY changed)
    Q_PROPERTY(QString sessionTitle READ sessionTitle NOTIFY changed)
    Q_PROPERTY(QString expiryText READ expiryText NOTIFY changed)
    Q_PROPERTY(bool opening READ opening NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
    // "active", "ready" or "unavailable" as the service says; empty before the first answer.
    Q_PROPERTY(QString status READ status NOTIFY changed)
    Q_PROPERTY(double panelWidth READ panelWidth WRITE setPanelWidth NOTIFY panelWidthChanged)
    Q_PROPERTY(bool browserOpen READ browserOpen NOTIFY changed)
    // The catalog: {id, label, icon, host, startUrl, state ("disconnected", "pending",
    // "connected"), stateText}
    Q_PROPERTY(QVariantList services READ services NOTIFY changed)
    // {id, label, configured, chosen}
    Q_PROPERTY(QVariantList providers READ providers NOTIFY changed)
public:
    static constexpr double minPanelWidth = 320;
    static constexpr double maxPanelWidth = 1200;

    // Opening from the header goes out as "halv.openBrowser" on `notifications`, which the main
    // window answers with showAddress().
    ComputerPanel(APIClient& api, Clock& clock, Preferences& preferences, AgentListViewModel& sidebar,
                  AppNotifications& notifications, QObject* parent = nullptr);
    ~ComputerPanel() override;

    // The watcher of the open employee chat; null in a team chat or with nothing selected.
    AgentLiveBrowserModel* model() const { return m_model.get(); }

    bool available() const { return m_model != nullptr; }
    QString agentName() const { return m_model ? m_model->agentName() : QString(); }
    bool panelOpen() const { return m_panelOpen; }
    bool hasSession() const { return m_model && m_model->current(); }
    QString viewUrl() const;
    QString sessionTitle() const;
    QString expiryText() const;
    bool opening() const { return m_model && m_model->isOpening(); }
    QString error() const { return m_model ? m_model->error().value_or(QString()) : QString(); }
    QString status() const;
    double panelWidth() const;
    void setPanelWidth(double width);
    bool browserOpen() const { return m_browserOpen; }
    QVariantList services() const;
    QVariantList providers() const;

    // The chat the main window shows now (null for none): its turn state and browse steps.
    void followChat(ChatViewModel* chat);
    // "halv.openBrowser": an empty address shows the employee's computer, any other shows it.
    void showAddress(const QUrl& url);

    Q_INVOKABLE void kick();
    // Closes the open panel, or asks for it with "halv.openBrowser".
    Q_INVOKABLE void toggle();
    Q_INVOKABLE void openPanel();
    // Closes the side panel; the session shown is not opened again by itself.
    Q_INVOKABLE void closePanel();
    // Opens the employee's session at `startUrl` (empty: the browser's blank page) and shows it.
    Q_INVOKABLE void openComputer(const QString& startUrl);
    Q_INVOKABLE void showBrowser();
    Q_INVOKABLE void closeBrowser();
    // Opens the service's start page in the employee's computer for the user to sign in.
    Q_INVOKABLE void signInTo(const QString& serviceId);
    Q_INVOKABLE void chooseProvider(const QString& providerId);

Q_SIGNALS:
    void changed();
    void panelWidthChanged();
    void unauthorized();

private:
    void follow();
    void onCurrentChanged();

    APIClient& m_api;
    Clock& m_clock;
    Preferences& m_preferences;
    AgentListViewModel& m_sidebar;
    AppNotifications& m_notifications;
    std::unique_ptr<AgentLiveBrowserModel> m_model;
    QPointer<ChatViewModel> m_chat;
    bool m_panelOpen = false;
    bool m_browserOpen = false;
    QString m_address;   // asked for with "halv.openBrowser"
    QString m_signingIn; // the catalog service whose sign-in is open
};

} // namespace halvex
