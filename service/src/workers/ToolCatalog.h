#pragma once
// The tools a worker's tool steps may call. The local service calls nothing outside: each tool
// only says what it would have done, so runs are the same every time.
#include <string>
#include <vector>

namespace service::workers {

struct Tool {
    const char* id;
    const char* label;              // "Slack"
    const char* done;               // the finished step's text: "Posted to Slack"
    std::vector<const char*> needs; // args that must be non-empty texts
};

// Every tool, in the order a person would look for them.
const std::vector<Tool>& toolCatalog();
const Tool* findTool(const std::string& id);
// Runs of this tool fail on purpose, so a failing step can be shown.
inline constexpr const char* kFailingTool = "fail_step";
// The tool the words of a step ask for ("post it to slack" -> Slack), or `fallback`; lower-case text.
const char* toolForWords(const std::string& foldedText, const char* fallback = "slack_post_message");

} // namespace service::workers
