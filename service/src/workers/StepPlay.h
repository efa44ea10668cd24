#pragma once
// What each step of a run does, decided from the step alone so a run is the same every time:
// an llm step writes from its prompt, a browse step "reads" its address (nothing leaves the
// machine), a tool step checks its tool and args and says what the tool would have done.
#include "workers/Playbook.h"

#include <nlohmann/json.hpp>

#include <string>

namespace service::workers {

struct StepResult {
    bool ok = true;
    std::string output;   // kept on the run's step record
    std::string doneText; // the finished chat step: "Collected source: https://…"
    std::string error;    // when it failed, naming the step
};

StepResult playStep(const Step& step, size_t index, const std::string& input);
// "Running “Collect source”"
std::string runningText(const Step& step);
// The tool a chat step names: the tool's id, or the step's type.
std::string stepTool(const Step& step);
// "**Morning brief** finished: …" and a line per step from the run's step records.
std::string resultSummary(const std::string& workerName, const nlohmann::json& steps);

} // namespace service::workers
