#pragma once
// The guardrails of one employee: permission groups that switch families of its tools, the kill
// switch that freezes it, and the mandate editor. The service enforces; this reads and writes.
#include "agents/service/AgentService.h"
#include "core/async/LatestOnly.h"
#include "governance/model/PermissionGroups.h"
#include "governance/service/GovernanceService.h"

#include <QObject>

namespace halvex {

class GuardrailsSettingsModel : public QObject {
    Q_OBJECT
public:
    explicit GuardrailsSettingsModel(APIClient& api, QObject* parent = nullptr);

    const std::optional<AgentMandate>& mandate() const { return m_mandate; }
    AgentMandate draft;
    QString quoteText;
    const QStringList& toolIds() const { return m_toolIds; }
    bool isPaused() const { return m_paused; }
    bool isLoading() const { return m_loading; }
    bool isSavingMandate() const { return m_savingMandate; }
    const std::optional<QString>& busyPermission() const { return m_busyPermission; }
    bool isBusyKill() const { return m_busyKill; }
    const QString& message() const { return m_message; }
    const std::optional<QString>& error() const { return m_error; }
    const QString& agentId() const { return m_agentId; }
    const std::optional<QString>& loadedAgentId() const { return m_loadedAgentId; }

    QCoro::Task<void> load(QString agentId);
    bool isOn(const PermissionGroup& group) const { return group.isOn(m_toolIds); }
    QCoro::Task<void> toggle(PermissionGroup group);
    QCoro::Task<void> toggleKillSwitch();
    void toggleChannel(const QString& channel);
    QCoro::Task<void> saveMandate(bool clear);

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    std::optional<QString> failureText(const std::exception_ptr& error);
    void setTools(const JSONArray& tools);

    AgentService m_agents;
    GovernanceService m_governance;
    std::optional<AgentMandate> m_mandate;
    JSONArray m_rawTools;
    QStringList m_toolIds;
    bool m_paused = false;
    bool m_loading = false;
    bool m_savingMandate = false;
    std::optional<QString> m_busyPermission;
    bool m_busyKill = false;
    QString m_message;
    std::optional<QString> m_error;
    QString m_agentId;
    std::optional<QString> m_loadedAgentId;
    LatestOnly m_load;
    LatestOnly m_change;
};

} // namespace halvex
