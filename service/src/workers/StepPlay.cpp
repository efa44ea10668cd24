#include "workers/StepPlay.h"

#include "core/Http.h"
#include "core/Utf8.h"
#include "workers/ToolCatalog.h"

namespace service::workers {

using nlohmann::json;

namespace {

// One line, at most `limit` bytes, an ellipsis when cut.
std::string excerpt(const std::string& text, size_t limit)
{
    std::string flat;
    for (char c : text)
        if (c == '\n' || c == '\r' || c == '\t')
            flat += ' ';
        else if (!(c == ' ' && (flat.empty() || flat.back() == ' ')))
            flat += c;
    while (!flat.empty() && flat.back() == ' ')
        flat.pop_back();
    return flat.size() <= limit ? flat : utf8Prefix(flat, limit) + "…";
}

// "channel: #general, text: Hello" out of the args' texts and numbers.
std::string argsLine(const json& args)
{
    std::string out;
    int shown = 0;
    if (!args.is_object())
        return out;
    for (const auto& [key, value] : args.items()) {
        if (shown == 3 || !(value.is_string() || value.is_number()))
            continue;
        out += (shown++ ? ", " : "") + key + ": "
            + excerpt(value.is_string() ? value.get<std::string>() : value.dump(), 60);
    }
    return out;
}

} // namespace

StepResult playStep(const Step& step, size_t index, const std::string& input)
{
    StepResult r;
    if (const auto problem = stepProblem(step, index)) {
        r.ok = false;
        r.error = *problem;
        return r;
    }
    if (failsOnPurpose(step)) {
        r.ok = false;
        r.error = stepLabel(step, index) + ": " + step.toolId + " reported a failure.";
        return r;
    }
    if (step.type == "llm") {
        const std::string asked = input.empty() ? std::string() : "For “" + excerpt(input, 80) + "”: ";
        r.output = asked + (asked.empty() ? "Worked" : "worked") + " through “" + excerpt(step.prompt, 120)
            + "” and wrote down three key points.";
        r.doneText = "Finished “" + step.name + "”";
    } else if (step.type == "browse") {
        r.output
            = "Read " + step.url + (trim(step.instructions).empty() ? "" : " — " + excerpt(step.instructions, 120));
        r.doneText = "Collected source: " + step.url;
    } else {
        const Tool* tool = findTool(step.toolId);
        const std::string args = argsLine(step.args);
        r.output = std::string(tool->done) + (args.empty() ? "" : " (" + args + ")");
        r.doneText = tool->done;
    }
    return r;
}

std::string runningText(const Step& step) { return "Running “" + step.name + "”"; }

std::string stepTool(const Step& step) { return step.type == "tool" ? step.toolId : step.type; }

std::string resultSummary(const std::string& workerName, const json& steps)
{
    std::string out = "**" + workerName + "** finished: " + std::to_string(steps.size())
        + (steps.size() == 1 ? " step" : " steps") + " done.\n";
    for (const auto& s : steps)
        out += "\n- **" + str(s, "name") + "** — " + str(s, "output");
    return out;
}

} // namespace service::workers
