#pragma once
// The desktop's services as the tests play them on the private bus: a notification server that
// records what it was asked to show, a dock that records launcher updates, and the settings
// portal with a colour scheme the test sets.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

namespace halvex::test {

struct ShownNotification {
    uint id = 0;
    uint replaces = 0;
    QString appName;
    QString icon;
    QString summary;
    QString body;
    QStringList actions;
    QVariantMap hints;
};

class FakeNotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit FakeNotificationServer(QDBusConnection bus);
    bool isRegistered() const { return m_registered; }
    QList<ShownNotification> shown;
    QList<uint> closedByApp;
    // The user clicks notification `id` (`action` "default" for its body).
    void invoke(uint id, const QString& action);
    // The user dismisses it.
    void dismiss(uint id);

public Q_SLOTS:
    Q_SCRIPTABLE uint Notify(const QString& appName, uint replaces, const QString& icon, const QString& summary,
                             const QString& body, const QStringList& actions, const QVariantMap& hints, int timeout);
    Q_SCRIPTABLE void CloseNotification(uint id);
    Q_SCRIPTABLE QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }

private:
    void signal(const QString& name, const QVariantList& arguments);
    QDBusConnection m_bus;
    bool m_registered = false;
    uint m_nextId = 0;
};

class FakeDock : public QObject {
    Q_OBJECT
public:
    explicit FakeDock(QDBusConnection bus);
    struct Update {
        QString appUri;
        QVariantMap properties;
    };
    QList<Update> updates;

public Q_SLOTS:
    void onUpdate(const QString& appUri, const QVariantMap& properties) { updates.append({appUri, properties}); }
};

class FakeSettingsPortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
public:
    FakeSettingsPortal(QDBusConnection bus, uint colorScheme);
    bool isRegistered() const { return m_registered; }
    // The user switches the desktop's preference; the portal tells everybody.
    void change(const QString& group, const QString& key, uint value);
    uint colorScheme;
    int reads = 0;

public Q_SLOTS:
    Q_SCRIPTABLE QDBusVariant Read(const QString& group, const QString& key);

private:
    QDBusConnection m_bus;
    bool m_registered = false;
};

} // namespace halvex::test
