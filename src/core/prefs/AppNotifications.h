#pragma once
// Application-wide notifications: one screen posts, another observes. One bus for the process.
#include <QObject>
#include <QString>
#include <QVariant>

namespace halvex {

namespace Notification {
inline const QString halvChatRead = QStringLiteral("halv.chatRead");
inline const QString halvAgentsChanged = QStringLiteral("halv.agentsChanged");
inline const QString halvAgentCreated = QStringLiteral("halv.agentCreated");
inline const QString halvOpenAgent = QStringLiteral("halv.openAgent");
inline const QString halvTeamRenamed = QStringLiteral("halv.teamRenamed");
inline const QString halvOpenBrowser = QStringLiteral("halv.openBrowser");
inline const QString halvAgentRenamed = QStringLiteral("halv.agentRenamed");
inline const QString halvOpenGoalTool = QStringLiteral("halv.openGoalTool");
inline const QString halvLiveViewExpired = QStringLiteral("halv.liveViewExpired");
inline const QString halvDismissHeaderPopovers = QStringLiteral("halv.dismissHeaderPopovers");
inline const QString halvBrowserAuthState = QStringLiteral("halv.browserAuthState");
} // namespace Notification

class AppNotifications : public QObject {
    Q_OBJECT
public:
    static AppNotifications& shared();
    using QObject::QObject;

    Q_INVOKABLE void post(const QString& name, const QVariant& object = {}) { Q_EMIT posted(name, object); }

Q_SIGNALS:
    void posted(const QString& name, const QVariant& object);
};

} // namespace halvex
