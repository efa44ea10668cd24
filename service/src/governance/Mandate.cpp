#include "governance/Mandate.h"

#include "core/JsonFields.h"

#include <algorithm>
#include <optional>
#include <set>

namespace service {

using nlohmann::json;

namespace {

using Checked = std::variant<json, std::string>;

constexpr size_t kMaxStopConditions = 50;
constexpr size_t kMaxConditionBytes = 200;

// A limit in dollars or percent: a number, or null for none. Never negative.
Checked limit(const json& parent, const char* key, double max)
{
    const auto it = parent.find(key);
    if (it == parent.end() || it->is_null())
        return json(nullptr);
    const auto value = finiteNumber(*it);
    if (!value)
        return std::string(key) + " must be a number or null";
    if (*value < 0)
        return std::string(key) + " cannot be negative";
    if (*value > max)
        return std::string(key) + " is too large";
    return json(*value);
}

Checked financial(const json& v)
{
    if (!v.is_object())
        return std::string("financial_authority must be an object");
    json out = json::object();
    for (const auto& [key, max] : {std::pair{"max_standard_quote_usd", 1e12}, std::pair{"max_discount_pct", 100.0}}) {
        auto checked = limit(v, key, max);
        if (auto* problem = std::get_if<std::string>(&checked))
            return *problem;
        out[key] = std::get<json>(checked);
    }
    return out;
}

// null allows every channel; a list allows only the channels it names.
Checked communication(const json& v)
{
    static const std::set<std::string> known{"email", "phone", "connectors"};
    if (!v.is_object())
        return std::string("communication_authority must be an object");
    const auto it = v.find("allowed_channels");
    if (it == v.end() || it->is_null())
        return json{{"allowed_channels", nullptr}};
    if (!it->is_array())
        return std::string("allowed_channels must be a list or null");
    json channels = json::array();
    for (const auto& c : *it) {
        if (!c.is_string() || !known.count(c.get<std::string>()))
            return std::string("allowed_channels may hold only \"email\", \"phone\" and \"connectors\"");
        if (std::find(channels.begin(), channels.end(), c) == channels.end())
            channels.push_back(c);
    }
    return json{{"allowed_channels", channels}};
}

Checked stopConditions(const json& v)
{
    if (!v.is_array())
        return std::string("stop_conditions must be a list of texts");
    if (v.size() > kMaxStopConditions)
        return std::string("stop_conditions has too many entries (50 at most)");
    for (const auto& c : v)
        if (!c.is_string() || c.get<std::string>().empty() || c.get<std::string>().size() > kMaxConditionBytes)
            return std::string("stop_conditions must be a list of texts (200 characters at most)");
    return v;
}

} // namespace

Checked normalizeMandate(const json& m)
{
    if (!m.is_object())
        return std::string("mandate must be an object or null");
    for (const char* key : {"version", "af_level", "financial_authority", "communication_authority", "stop_conditions"})
        if (!m.contains(key))
            return std::string(key) + " is required";
    const auto version = wholeNumber(m["version"]);
    if (!version || *version < 0 || *version > 1'000'000'000)
        return std::string("version must be a whole number, 0 or more");
    const auto level = wholeNumber(m["af_level"]);
    if (!level)
        return std::string("af_level must be a whole number");
    json out{{"version", *version}, {"af_level", std::clamp<long long>(*level, 0, 5)}};
    const std::pair<const char*, Checked (*)(const json&)> parts[] = {{"financial_authority", financial},
                                                                      {"communication_authority", communication},
                                                                      {"stop_conditions", stopConditions}};
    for (const auto& [key, check] : parts) {
        auto checked = check(m[key]);
        if (auto* problem = std::get_if<std::string>(&checked))
            return *problem;
        out[key] = std::move(std::get<json>(checked));
    }
    return out;
}

} // namespace service
