#pragma once
// The team and its members. Stateless; the slug is appended to paths as it is.
#include "core/async/CancelToken.h"
#include "teams/model/TeamRecords.h"

#include <qcorotask.h>

namespace halvex {

class APIClient;

class TeamService {
public:
    explicit TeamService(APIClient& api) : m_api(&api) {}
    TeamService();

    static QString teamPath(const QString& slug) { return QStringLiteral("api/v2/teams/") + slug; }

    QCoro::Task<AddMemberResponse> addMember(QString slug, QString brief, CancelToken token = {});
    QCoro::Task<TeamPatchResponse> patch(QString slug, JSONObject body, CancelToken token = {});
    QCoro::Task<TeamUsageResponse> usage(QString slug, CancelToken token = {});
    QCoro::Task<void> memberAction(QString slug, QString agentId, QString action, CancelToken token = {});
    // Empty provider and model: the member inherits the team's model.
    QCoro::Task<void> setMemberModel(QString slug, QString agentId, QString provider, QString model,
                                     CancelToken token = {});

private:
    APIClient* m_api;
};

} // namespace halvex
