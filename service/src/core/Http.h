#pragma once
// Small helpers every route uses to read requests and write JSON answers.
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace service {

using nlohmann::json;

// Errors answer {"error": message}, the shape the client's error mapping reads.
void sendError(httplib::Response& res, int status, const std::string& message);
void sendJson(httplib::Response& res, const json& body, int status = 200);
// Deeper nesting is refused: writing a stored value back out recurses once per level.
inline constexpr int kMaxJsonDepth = 64;
// A JSON object body, or a 400 (413 when longer than `maxBytes`, when given) already sent.
std::optional<json> parseBody(const httplib::Request& req, httplib::Response& res, size_t maxBytes = 0);
// The string at `key`, or empty when missing or not a string.
std::string str(const json& body, const char* key);
std::string trim(const std::string& s);
std::string cookieValue(const httplib::Request& req, const std::string& name);
// True when every text of the request that a route may store is valid UTF-8: the path, query
// and form items, and the names and types of uploaded parts.
bool requestTextValid(const httplib::Request& req);
// A stored file as a download: never sniffed by the receiver, shown in place only when it is a
// raster image or a PDF, under a name that cannot break the header.
void sendFile(httplib::Response& res, std::string bytes, const std::string& mime, const std::string& name);
// UTC now as "YYYY-MM-DDTHH:MM:SS.mmmZ".
std::string nowIso();

} // namespace service
