#pragma once
// The plain agent endpoints. Stateless: holds only the API client.
#include "agents/model/Agent.h"
#include "agents/model/AgentsListResponse.h"
#include "agents/model/BrainModel.h"
#include "core/async/CancelToken.h"
#include "core/json/JSONValue.h"

#include <QString>

#include <qcorotask.h>

#include <optional>

namespace halvex {

class APIClient;

class AgentService {
public:
    explicit AgentService(APIClient& api);
    AgentService();

    static QString agentPath(const QString& id);

    QCoro::Task<AgentsListResponse> list(CancelToken token = {});
    QCoro::Task<Agent> detail(QString id, CancelToken token = {});
    // The whole answer as a map, for fields Agent does not model; a non-object gives an empty map.
    QCoro::Task<JSONObject> rawDetail(QString id, CancelToken token = {});
    QCoro::Task<Agent> createModelChat(QString name, std::optional<BrainModel> brain, CancelToken token = {});
    QCoro::Task<void> patch(QString id, JSONObject body, CancelToken token = {});

    static JSONObject modelChatBody(const QString& name, const std::optional<BrainModel>& brain);

    APIClient& api() const { return *m_api; }

private:
    APIClient* m_api;
};

} // namespace halvex
