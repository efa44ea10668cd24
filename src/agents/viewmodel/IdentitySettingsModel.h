#pragma once
// The identity settings of one agent: name, response language, voice, and the user's company
// profile shown beside them. GUI thread only.
#include "agents/model/Agent.h"
#include "agents/service/AgentService.h"
#include "core/async/CancelToken.h"
#include "core/async/LatestOnly.h"

#include <QObject>
#include <QString>

#include <qcorotask.h>

#include <exception>
#include <optional>

namespace halvex {

class APIClient;

class IdentitySettingsModel : public QObject {
    Q_OBJECT
public:
    explicit IdentitySettingsModel(APIClient& api, QObject* parent = nullptr);
    IdentitySettingsModel();
    ~IdentitySettingsModel() override;

    QString name() const { return m_name; }
    QString responseLanguage() const { return m_responseLanguage; }
    QString voiceChoice() const { return m_voiceChoice; }
    QString customVoiceId() const { return m_customVoiceId; }
    QString company() const { return m_company; }
    QString website() const { return m_website; }
    bool isLoading() const { return m_isLoading; }
    bool savingAgent() const { return m_savingAgent; }
    bool savingProfile() const { return m_savingProfile; }
    QString status() const { return m_status; }
    std::optional<QString> error() const { return m_error; }
    std::optional<QString> agentId() const { return m_agentId; }
    std::optional<QString> loadedAgentId() const { return m_loadedAgentId; }
    // The fields hold the employee shown: only then may they be saved.
    bool isLoaded() const;

    void setName(const QString& v);
    void setResponseLanguage(const QString& v);
    void setCustomVoiceId(const QString& v);
    void setCompany(const QString& v);
    void setWebsite(const QString& v);

    QCoro::Task<void> load(Agent agent);
    QCoro::Task<void> saveAgent();
    QCoro::Task<void> selectVoice(QString choice);
    QCoro::Task<void> saveProfile();
    // Drops every request in flight; their results are never applied.
    void stop();

    static QString profilePath() { return QStringLiteral("api/v2/user/profile"); }

Q_SIGNALS:
    void changed();
    void unauthorized();
    // The employee's name or language changed on the service: lists showing it are stale.
    void agentSaved();

private:
    QCoro::Task<void> loadProfile(CancelToken token);
    void fail(const std::exception_ptr& error);

    APIClient& m_api;
    AgentService m_service;
    QString m_name;
    QString m_responseLanguage;
    QString m_voiceChoice = QStringLiteral("female");
    QString m_customVoiceId;
    QString m_company;
    QString m_website;
    bool m_isLoading = false;
    bool m_savingAgent = false;
    bool m_savingProfile = false;
    QString m_status;
    std::optional<QString> m_error;
    std::optional<QString> m_agentId;
    std::optional<QString> m_loadedAgentId;
    LatestOnly m_load;
    TaskScope m_scope;
};

} // namespace halvex
