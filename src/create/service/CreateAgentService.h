#pragma once
// Generation of employee and team drafts on the service, and hiring from an accepted draft.
// Stateless: every call builds its path and body and decodes the answer.
#include "agents/model/BrainModel.h"
#include "core/async/CancelToken.h"
#include "core/net/APIClient.h"
#include "create/model/TeamDraft.h"

#include <qcorotask.h>

namespace halvex {

template <typename Draft>
struct GenerationStart {
    QString jobId;                  // the session id the client sent; the service keys the job by it
    std::optional<Draft> immediate; // the draft, when the service answered at once
};

struct EmployeeRequest {
    QString name;
    QString brief;
    AgentDraft draft;
    QString agentType; // "employee" or "worker"
    QString triggerType;
    std::optional<int> intervalMinutes;
    std::optional<BrainModel> brain;
    std::optional<QString> projectSlug;
};

class CreateAgentService {
public:
    explicit CreateAgentService(APIClient& api, QString avatarOrigin);
    explicit CreateAgentService(APIClient& api);

    QCoro::Task<GenerationStart<AgentDraft>> startGenerate(QString description, QString agentType, int round,
                                                           QList<ClarificationAnswer> clarifications, bool forceReady,
                                                           std::optional<BrainModel> builder, CancelToken token = {});
    QCoro::Task<GenerationStart<TeamDraft>> startGenerateTeam(QString description, int round,
                                                              QList<ClarificationAnswer> clarifications,
                                                              bool forceReady, CancelToken token = {});
    QCoro::Task<GenerateJob> job(QString jobId, CancelToken token = {});
    QCoro::Task<TeamGenerateJob> teamJob(QString jobId, CancelToken token = {});

    // The new employee's id; empty when the answer names none.
    QCoro::Task<QString> create(EmployeeRequest request, CancelToken token = {});
    // The new team's slug: the service's "group_slug", else the one derived from the label.
    QCoro::Task<QString> createTeam(QString label, TeamDraft team, QString brief, std::optional<QString> projectSlug,
                                    CancelToken token = {});

    // The bodies, exposed for tests.
    JSONObject employeeBody(const EmployeeRequest& request) const;
    JSONObject teamBody(const QString& label, const TeamDraft& team, const QString& brief,
                        const std::optional<QString>& projectSlug) const;

    static QString generatePath() { return QStringLiteral("api/v2/custom-agents/generate"); }
    static QString generateTeamPath() { return QStringLiteral("api/v2/custom-agents/generate-team"); }

private:
    APIClient* m_api;
    QString m_avatarOrigin;
};

} // namespace halvex
