#pragma once
// The identity page of the settings window: which employee it edits (remembered in
// "hx-settings-agent-id") and the identity model's fields and operations for QML.
#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <memory>

namespace halvex {

class AgentListViewModel;
class APIClient;
class IdentitySettingsModel;
class Preferences;

class IdentitySettings : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(QVariantList agents READ agents NOTIFY agentsChanged)
    Q_PROPERTY(QString agentId READ agentId NOTIFY changed)
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY changed)
    Q_PROPERTY(QString responseLanguage READ responseLanguage WRITE setResponseLanguage NOTIFY changed)
    Q_PROPERTY(QString voiceChoice READ voiceChoice NOTIFY changed)
    Q_PROPERTY(QString company READ company WRITE setCompany NOTIFY changed)
    Q_PROPERTY(QString website READ website WRITE setWebsite NOTIFY changed)
    Q_PROPERTY(bool loading READ loading NOTIFY changed)
    Q_PROPERTY(bool savingAgent READ savingAgent NOTIFY changed)
    Q_PROPERTY(bool savingProfile READ savingProfile NOTIFY changed)
    Q_PROPERTY(QString status READ status NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
public:
    IdentitySettings(APIClient& api, AgentListViewModel& sidebar, Preferences& preferences, QObject* parent = nullptr);
    ~IdentitySettings() override;

    // Each entry: id, name — the employees the sidebar lists, in its order.
    QVariantList agents() const;
    QString agentId() const;
    QString name() const;
    void setName(const QString& v);
    QString responseLanguage() const;
    void setResponseLanguage(const QString& v);
    QString voiceChoice() const;
    QString company() const;
    void setCompany(const QString& v);
    QString website() const;
    void setWebsite(const QString& v);
    bool loading() const;
    bool savingAgent() const;
    bool savingProfile() const;
    QString status() const;
    QString error() const;

    // The page opens on the remembered employee, else the sidebar's selection, else the first.
    Q_INVOKABLE void open();
    Q_INVOKABLE void selectAgent(const QString& id);
    Q_INVOKABLE void saveAgent();
    Q_INVOKABLE void selectVoice(const QString& choice);
    Q_INVOKABLE void saveProfile();

    IdentitySettingsModel& model() { return *m_model; }

Q_SIGNALS:
    void changed();
    void agentsChanged();
    void unauthorized();

private:
    AgentListViewModel& m_sidebar;
    Preferences& m_preferences;
    std::unique_ptr<IdentitySettingsModel> m_model;
    bool m_openRequested = false;
};

} // namespace halvex
