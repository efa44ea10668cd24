#include "workers/Playbook.h"

#include "core/Http.h"
#include "workers/ToolCatalog.h"

namespace service::workers {

using nlohmann::json;

Step readStep(const json& raw)
{
    Step s;
    if (raw.is_string()) {
        s.type = "llm";
        s.name = s.prompt = trim(raw.get<std::string>());
    } else if (raw.is_object()) {
        s.type = raw.contains("type") ? str(raw, "type") : "llm";
        if (s.type == "source")
            s.type = "browse";
        s.name = trim(str(raw, "name"));
        s.prompt = str(raw, "prompt");
        s.url = trim(str(raw, "url"));
        s.instructions = str(raw, "instructions");
        s.toolId = trim(str(raw, "tool_id"));
        if (raw.contains("args"))
            s.args = raw["args"];
    } else {
        s.readable = false;
    }
    if (s.name.empty())
        s.name = defaultStepName(s.type);
    return s;
}

const char* defaultStepName(const std::string& type)
{
    if (type == "browse")
        return "Collect source";
    if (type == "tool")
        return "Deliver result";
    return "Reason over results";
}

std::string stepLabel(const Step& step, size_t index)
{
    return "Step " + std::to_string(index + 1) + " “" + step.name + "”";
}

std::optional<std::string> stepProblem(const Step& s, size_t index)
{
    const std::string label = stepLabel(s, index);
    if (!s.readable)
        return "Step " + std::to_string(index + 1) + ": a step must be an object.";
    if (s.type == "llm")
        return trim(s.prompt).empty() ? std::optional(label + ": an llm step needs a prompt.") : std::nullopt;
    if (s.type == "browse") {
        if (s.url.empty())
            return label + ": a browse step needs an address.";
        if (s.url.rfind("http://", 0) != 0 && s.url.rfind("https://", 0) != 0)
            return label + ": the address must start with http:// or https://.";
        return std::nullopt;
    }
    if (s.type != "tool")
        return label + ": unknown step type “" + s.type + "”.";
    if (s.toolId.empty())
        return label + ": a tool step needs a tool.";
    const Tool* tool = findTool(s.toolId);
    if (!tool)
        return label + ": unknown tool “" + s.toolId + "”.";
    if (!s.args.is_null() && !s.args.is_object())
        return label + ": args must be a JSON object.";
    for (const char* key : tool->needs)
        if (trim(s.args.is_object() ? str(s.args, key) : std::string()).empty())
            return label + ": " + tool->id + " needs “" + key + "” in its args.";
    return std::nullopt;
}

std::optional<std::string> playbookProblem(const json& playbook)
{
    if (!playbook.is_array() || playbook.empty())
        return std::string(kNoSteps);
    for (size_t i = 0; i < playbook.size(); ++i)
        if (auto problem = stepProblem(readStep(playbook[i]), i))
            return problem;
    return std::nullopt;
}

bool failsOnPurpose(const Step& s)
{
    if (s.type != "tool")
        return false;
    if (s.toolId == kFailingTool)
        return true;
    if (!s.args.is_object())
        return false;
    const auto fail = s.args.find("fail");
    return fail != s.args.end() && *fail == true;
}

} // namespace service::workers
