#include "intake/IntakeSource.h"

#include "core/Utf8.h"

namespace service::intake {

namespace {

constexpr size_t kMaxListed = 12;
constexpr size_t kMaxText = 1000;

std::string textAt(const json& v, const char* key)
{
    const auto it = v.find(key);
    return it != v.end() && it->is_string() ? utf8Prefix(trim(it->get<std::string>()), kMaxText) : std::string();
}

std::vector<std::string> textsAt(const json& v, const char* key)
{
    std::vector<std::string> out;
    const auto it = v.find(key);
    if (it == v.end() || !it->is_array())
        return out;
    for (const auto& entry : *it)
        if (entry.is_string() && out.size() < kMaxListed && !trim(entry.get<std::string>()).empty())
            out.push_back(utf8Prefix(trim(entry.get<std::string>()), kMaxText));
    return out;
}

} // namespace

json IntakeSource::toJson() const
{
    json out{{"status", status},  {"canonical_url", canonicalUrl},
             {"title", title},    {"pages", pages},
             {"facts", facts},    {"digest", digest},
             {"warning", warning}};
    if (!token.empty())
        out["token"] = token;
    return out;
}

IntakeSource sourceFromJson(const json& v)
{
    IntakeSource s;
    if (!v.is_object())
        return s;
    s.status = textAt(v, "status");
    s.canonicalUrl = textAt(v, "canonical_url");
    s.title = textAt(v, "title");
    s.pages = textsAt(v, "pages");
    s.facts = textsAt(v, "facts");
    s.digest = textAt(v, "digest");
    s.warning = textAt(v, "warning");
    s.token = textAt(v, "token");
    return s;
}

} // namespace service::intake
