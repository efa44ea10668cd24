#include "core/Http.h"

#include "core/Utf8.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace service {

// Input is checked before it is stored, but a row written by an older build may still hold an
// invalid byte: it shows as U+FFFD instead of failing the whole answer.
std::string dumpJson(const json& body) { return body.dump(-1, ' ', false, json::error_handler_t::replace); }

void sendError(httplib::Response& res, int status, const std::string& message)
{
    res.status = status;
    res.set_content(dumpJson(json{{"error", message}}), "application/json");
}
void sendJson(httplib::Response& res, const json& body, int status)
{
    res.status = status;
    res.set_content(dumpJson(body), "application/json");
}

namespace {

// Stops at the limit, so the check itself never recurses deeper than it allows.
bool depthWithin(const json& v, int remaining)
{
    if (!v.is_structured())
        return true;
    if (remaining == 0)
        return false;
    for (const auto& child : v)
        if (!depthWithin(child, remaining - 1))
            return false;
    return true;
}

} // namespace

std::optional<json> parseBody(const httplib::Request& req, httplib::Response& res, size_t maxBytes)
{
    if (maxBytes > 0 && req.body.size() > maxBytes) {
        sendError(res, 413, "Request body is too large (at most " + std::to_string(maxBytes / 1024) + " KB)");
        return std::nullopt;
    }
    json body = json::parse(req.body, nullptr, false);
    if (body.is_discarded() || !body.is_object()) {
        sendError(res, 400, "Invalid JSON body");
        return std::nullopt;
    }
    if (!depthWithin(body, kMaxJsonDepth)) {
        sendError(res, 400, "JSON body is nested too deeply");
        return std::nullopt;
    }
    return body;
}
std::string str(const json& body, const char* key)
{
    const auto it = body.find(key);
    return it != body.end() && it->is_string() ? it->get<std::string>() : std::string();
}

std::string trim(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}
std::string nowIso()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    char buf[64];
    std::tm tm{};
    gmtime_r(&t, &tm);
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min, tm.tm_sec, int(ms));
    return buf;
}

bool requestTextValid(const httplib::Request& req)
{
    if (!isValidUtf8(req.path))
        return false;
    for (const auto& [key, value] : req.params)
        if (!isValidUtf8(key) || !isValidUtf8(value))
            return false;
    for (const auto& [field, part] : req.files)
        if (!isValidUtf8(field) || !isValidUtf8(part.filename) || !isValidUtf8(part.content_type))
            return false;
    return true;
}

namespace {

bool shownInPlace(const std::string& mime)
{
    // SVG is an image that can carry script, so it downloads like any other document.
    return (mime.rfind("image/", 0) == 0 && mime.find("svg") == std::string::npos) || mime == "application/pdf";
}

// RFC 6266: an ASCII fallback for every receiver, the exact name percent-encoded beside it.
std::string disposition(const std::string& name, bool inlined)
{
    std::string fallback, encoded;
    static const char* hex = "0123456789ABCDEF";
    for (unsigned char c : name) {
        const bool plain = std::isalnum(c) || c == '.' || c == '-' || c == '_';
        fallback += plain || c == ' ' ? char(c) : '_';
        if (plain)
            encoded += char(c);
        else {
            encoded += '%';
            encoded += hex[c >> 4];
            encoded += hex[c & 15];
        }
    }
    if (fallback.empty())
        fallback = "file";
    return std::string(inlined ? "inline" : "attachment") + "; filename=\"" + fallback + "\"; filename*=UTF-8''"
        + encoded;
}

} // namespace

void sendFile(httplib::Response& res, std::string bytes, const std::string& mime, const std::string& name)
{
    const std::string type = mime.empty() ? "application/octet-stream" : mime;
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_header("Content-Disposition", disposition(name, shownInPlace(type)));
    res.set_content(std::move(bytes), type);
}

std::string cookieValue(const httplib::Request& req, const std::string& name)
{
    const std::string header = req.get_header_value("Cookie");
    size_t pos = 0;
    while (pos < header.size()) {
        size_t end = header.find(';', pos);
        if (end == std::string::npos)
            end = header.size();
        const std::string part = trim(header.substr(pos, end - pos));
        if (part.rfind(name + "=", 0) == 0)
            return part.substr(name.size() + 1);
        pos = end + 1;
    }
    return {};
}

} // namespace service
