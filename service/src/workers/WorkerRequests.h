#pragma once
// Reading the parts of worker requests every worker route shares.
#include "core/Http.h"
#include "core/Service.h"

#include <optional>
#include <string>

namespace service::workers {

inline constexpr const char* kAgentNotFound = "Agent not found";

// A JSON object body; an empty body counts as {}. Nothing when a 400 or 413 was already sent.
std::optional<json> bodyOrEmpty(const httplib::Request& req, httplib::Response& res, size_t maxBytes);
// The user's agent, or nothing with a 404 already sent.
std::optional<json> requireAgent(Service& s, long long uid, const std::string& id, httplib::Response& res);
// The user's worker: nothing with a 404, or a 400 saying `notWorker`, already sent.
std::optional<json> requireWorker(Service& s, long long uid, const std::string& id, const char* notWorker,
                                  httplib::Response& res);
// The key holds a text, null, or nothing; anything else is why the request is refused.
std::optional<std::string> optionalTextProblem(const json& body, const char* key, size_t maxBytes);
// A marketplace copy carries where it came from; such a worker is never published again.
bool takenFromMarketplace(const json& agent);

} // namespace service::workers
