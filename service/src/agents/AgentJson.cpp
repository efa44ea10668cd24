#include "agents/AgentJson.h"

#include "core/Http.h"
#include "core/JsonFields.h"
#include "core/Slug.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace service {

using nlohmann::json;

json agentJson(const std::string& id, const std::string& name, const std::string& group, const std::string& type,
               const std::string& preset, bool orchestrator)
{
    return {{"id", id},
            {"name", name},
            {"description", name + " at work"},
            {"avatar_url", nullptr},
            {"agent_type", type},
            {"is_employer", false},
            {"is_orchestrator", orchestrator},
            {"preset_kind", preset.empty() ? json(nullptr) : json(preset)},
            {"status", "active"},
            {"pinned", false},
            {"agent_group", group.empty() ? json(nullptr) : json(group)},
            {"response_language", nullptr},
            {"behavior_style", nullptr},
            {"voice_id", nullptr},
            {"openai_voice", nullptr},
            {"llm_model", nullptr},
            {"resolved_llm_model", "default"},
            {"playbook", nullptr},
            {"tools", json::array()},
            {"capabilities", json::object()}};
}

std::string memberHandle(const std::string& name, const std::string& slug)
{
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    const std::string suffix = "-" + slug;
    if (lower.size() > suffix.size() && lower.compare(lower.size() - suffix.size(), suffix.size(), suffix) == 0)
        lower.resize(lower.size() - suffix.size());
    return asciiSlug(lower);
}

bool flagOf(const json& agent, const char* key)
{
    const auto it = agent.find(key);
    return it != agent.end() && it->is_boolean() && it->get<bool>();
}

std::string textOf(const json& agent, const char* key)
{
    const auto it = agent.find(key);
    return it != agent.end() && it->is_string() ? it->get<std::string>() : std::string();
}

namespace {

const char* const kTextKeys[]
    = {"description",    "avatar_url",   "agent_type",   "preset_kind",    "agent_group",     "response_language",
       "behavior_style", "voice_id",     "openai_voice", "llm_model",      "llm_provider",    "resolved_llm_model",
       "system_prompt",  "trigger_type", "role",         "knowledge_base", "user_metadata_md"};
const char* const kFlagKeys[] = {"is_employer", "is_orchestrator", "pinned"};
const char* const kListKeys[] = {"playbook", "tools", "constraints", "generated_skills", "skills", "knowledge_urls"};
// Lists whose entries are texts; generated skills are objects of texts.
const char* const kTextListKeys[] = {"constraints", "knowledge_urls"};
constexpr size_t kMaxText = 100000;
constexpr size_t kMaxListEntries = 100;

std::optional<std::string> listProblem(const json& body)
{
    for (const char* key : kListKeys)
        if (body.contains(key) && body[key].is_array() && body[key].size() > kMaxListEntries)
            return std::string(key) + " has too many entries (100 at most)";
    for (const char* key : kTextListKeys) {
        if (!body.contains(key) || !body[key].is_array())
            continue;
        for (const auto& v : body[key])
            if (!v.is_string() || v.get<std::string>().size() > kMaxText)
                return std::string(key) + " must be a list of texts";
    }
    for (const char* key : {"generated_skills", "skills"}) {
        if (!body.contains(key) || !body[key].is_array())
            continue;
        for (const auto& skill : body[key]) {
            if (!skill.is_object())
                return std::string(key) + " must be a list of objects";
            for (const auto& [k, v] : skill.items())
                if (!v.is_string() || v.get<std::string>().size() > kMaxText)
                    return std::string(key) + "." + k + " must be a text";
        }
    }
    return std::nullopt;
}

// A worker's playbook is a list of steps (objects, or texts the app once wrote); its trigger an
// object with a known type. What is inside a step is the dry run's business, not the store's.
std::optional<std::string> workerProblem(const json& body)
{
    if (body.contains("playbook")) {
        if (!body["playbook"].is_array())
            return std::string("playbook must be a list of steps");
        for (const auto& step : body["playbook"])
            if (!step.is_object() && !step.is_string())
                return std::string("Every playbook step must be an object");
    }
    if (body.contains("trigger") && !body["trigger"].is_null()) {
        const json& trigger = body["trigger"];
        if (!trigger.is_object())
            return std::string("trigger must be an object");
        static const std::set<std::string> types{"manual", "schedule", "event", "webhook"};
        if (!trigger.contains("type") || !trigger["type"].is_string()
            || !types.count(trigger["type"].get<std::string>()))
            return std::string("trigger.type must be \"manual\", \"schedule\", \"event\" or \"webhook\"");
        if (trigger.contains("intervalMinutes")) {
            const auto minutes = wholeNumber(trigger["intervalMinutes"]);
            if (!minutes || *minutes < 1 || *minutes > 525600)
                return std::string("trigger.intervalMinutes must be a whole number of minutes (1 to 525600)");
        }
    }
    if (body.contains("autonomy_level")) {
        const json& level = body["autonomy_level"];
        if (!level.is_null() && !level.is_number() && !(level.is_string() && level.get<std::string>().size() <= 200))
            return std::string("autonomy_level must be a text or a number");
    }
    return std::nullopt;
}

} // namespace

const std::vector<std::string>& agentWritableKeys()
{
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> k{
            "name", "status", "capabilities", "work_profile", "schedule_interval_minutes", "trigger", "autonomy_level"};
        k.insert(k.end(), std::begin(kTextKeys), std::end(kTextKeys));
        k.insert(k.end(), std::begin(kFlagKeys), std::end(kFlagKeys));
        k.insert(k.end(), std::begin(kListKeys), std::end(kListKeys));
        return k;
    }();
    return keys;
}

json agentFromCreateBody(const json& body, const std::string& id)
{
    const std::string type = textOf(body, "agent_type").empty() ? "employee" : textOf(body, "agent_type");
    const std::string preset = textOf(body, "preset_kind");
    std::string name = trim(textOf(body, "name"));
    if (name.empty())
        name = preset == "model_chat" ? "Model chat" : "New employee";
    json a = agentJson(id, name, "", type, preset);
    for (const auto& key : agentWritableKeys())
        if (body.contains(key) && key != "name" && key != "is_orchestrator")
            a[key] = body[key];
    if (!body.contains("is_employer"))
        a["is_employer"] = type == "employee" && preset.empty();
    if (!textOf(a, "llm_model").empty())
        a["resolved_llm_model"] = a["llm_model"];
    return a;
}

std::optional<std::string> agentBodyProblem(const json& body)
{
    if (body.contains("name")) {
        const json& name = body["name"];
        if (!name.is_string())
            return "name must be a string";
        if (name.get<std::string>().find_first_not_of(" \t\r\n") == std::string::npos)
            return "Name cannot be empty";
        if (name.get<std::string>().size() > 200)
            return "name is too long (200 characters at most)";
    }
    if (auto problem = workerProblem(body))
        return problem;
    if (body.contains("status") && (!body["status"].is_string() || body["status"].get<std::string>().empty()))
        return "status must be a non-empty string";
    if (body.contains("capabilities") && !body["capabilities"].is_object())
        return "capabilities must be an object";
    if (body.contains("work_profile") && !body["work_profile"].is_object() && !body["work_profile"].is_null())
        return "work_profile must be an object";
    if (body.contains("schedule_interval_minutes")) {
        const auto minutes = wholeNumber(body["schedule_interval_minutes"]);
        if (!minutes || *minutes < 1 || *minutes > 525600)
            return "schedule_interval_minutes must be a whole number of minutes (1 to 525600)";
    }
    for (const char* key : kTextKeys) {
        if (body.contains(key) && !body[key].is_string() && !body[key].is_null())
            return std::string(key) + " must be a string or null";
        if (body.contains(key) && body[key].is_string() && body[key].get<std::string>().size() > kMaxText)
            return std::string(key) + " is too long (100000 characters at most)";
    }
    for (const char* key : kFlagKeys)
        if (body.contains(key) && !body[key].is_boolean())
            return std::string(key) + " must be true or false";
    for (const char* key : kListKeys)
        if (body.contains(key) && !body[key].is_array() && !body[key].is_null())
            return std::string(key) + " must be a list or null";
    return listProblem(body);
}

} // namespace service
