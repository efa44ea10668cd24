#include "governance/RequestBody.h"

namespace service {

std::optional<json> readSmallBody(const httplib::Request& req, httplib::Response& res)
{
    if (req.body.size() > kMaxSmallBody) {
        sendError(res, 400, "Request body is too large (at most 64 KB)");
        return std::nullopt;
    }
    return parseBody(req, res);
}

std::optional<std::string> readText(const json& body, const char* key, size_t maxBytes, httplib::Response& res)
{
    const auto it = body.find(key);
    if (it == body.end() || it->is_null())
        return std::string();
    if (!it->is_string()) {
        sendError(res, 400, std::string(key) + " must be a string");
        return std::nullopt;
    }
    std::string value = trim(it->get<std::string>());
    if (value.size() > maxBytes) {
        sendError(res, 400, std::string(key) + " is too long (at most " + std::to_string(maxBytes) + " characters)");
        return std::nullopt;
    }
    return value;
}

} // namespace service
