#include "workers/WorkerRequests.h"

#include "agents/AgentJson.h"
#include "agents/AgentStore.h"

namespace service::workers {

std::optional<json> bodyOrEmpty(const httplib::Request& req, httplib::Response& res, size_t maxBytes)
{
    if (trim(req.body).empty())
        return json::object();
    return parseBody(req, res, maxBytes);
}

std::optional<json> requireAgent(Service& s, long long uid, const std::string& id, httplib::Response& res)
{
    auto agent = findAgent(s, uid, id);
    if (!agent)
        sendError(res, 404, kAgentNotFound);
    return agent;
}

std::optional<json> requireWorker(Service& s, long long uid, const std::string& id, const char* notWorker,
                                  httplib::Response& res)
{
    auto agent = requireAgent(s, uid, id, res);
    if (agent && textOf(*agent, "agent_type") != "worker") {
        sendError(res, 400, notWorker);
        return std::nullopt;
    }
    return agent;
}

std::optional<std::string> optionalTextProblem(const json& body, const char* key, size_t maxBytes)
{
    const auto it = body.find(key);
    if (it == body.end() || it->is_null())
        return std::nullopt;
    if (!it->is_string())
        return std::string(key) + " must be a text";
    if (it->get<std::string>().size() > maxBytes)
        return std::string(key) + " is too long (" + std::to_string(maxBytes) + " characters at most)";
    return std::nullopt;
}

bool takenFromMarketplace(const json& agent)
{
    for (const char* key : {"workflow_marketplace_source_id", "cloned_from_agent_id"}) {
        const auto it = agent.find(key);
        if (it != agent.end() && !it->is_null() && !(it->is_string() && it->get<std::string>().empty()))
            return true;
    }
    return false;
}

} // namespace service::workers
