#pragma once
// A worker's playbook as the service reads it: each step's type, name and fields, and what makes
// a step unrunnable, in the words the dry run and a failed run both answer with.
#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace service::workers {

struct Step {
    std::string type; // "llm", "browse", "tool", or whatever was sent
    std::string name; // as given, or the type's default
    std::string prompt;
    std::string url;
    std::string instructions;
    std::string toolId;
    nlohmann::json args;  // as sent; null when the step has none
    bool readable = true; // false for an entry that is neither an object nor a text
};

// Objects as they are; a text is an llm step of that name and prompt; a missing type is "llm" and
// "source" is "browse", as the app writes them.
Step readStep(const nlohmann::json& raw);
// "Reason over results", "Collect source", "Deliver result".
const char* defaultStepName(const std::string& type);
// "Step 2 “Deliver”"
std::string stepLabel(const Step& step, size_t index);
// Why the step cannot run ("Step 2 “Deliver”: args must be a JSON object."), or nothing.
std::optional<std::string> stepProblem(const Step& step, size_t index);
// The first reason the playbook cannot run: no steps at all, or the first unrunnable step.
std::optional<std::string> playbookProblem(const nlohmann::json& playbook);
inline constexpr const char* kNoSteps = "The worker has no steps.";
// A step that fails when it runs, on purpose: the failing tool, or args {"fail": true}.
bool failsOnPurpose(const Step& step);

} // namespace service::workers
