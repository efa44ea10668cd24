// The demo workspace's workers: a morning brief a person can run at once, and the nightly
// worker given a playbook and a daily schedule (not deployed).
#include "demo/DemoSeed.h"

#include "agents/AgentJson.h"
#include "agents/AgentStore.h"

namespace service {

using nlohmann::json;

void seedWorkers(Service& s, long long uid)
{
    json brief = agentJson("a-morning-brief", "Morning brief", "", "worker");
    brief["description"] = "Reads the news on your market and posts a five-line brief.";
    brief["role"] = "Research assistant";
    brief["system_prompt"] = "You are Morning brief, a worker that reads the news and writes a short brief.";
    brief["trigger"] = {{"type", "manual"}};
    brief["trigger_type"] = "manual";
    brief["playbook"] = json::array({{{"type", "browse"},
                                      {"name", "Collect source"},
                                      {"url", "https://example.com/news"},
                                      {"instructions", "Read today's headlines about our market."}},
                                     {{"type", "llm"},
                                      {"name", "Write the brief"},
                                      {"prompt", "Summarise the five most important stories in one line each."}},
                                     {{"type", "tool"},
                                      {"name", "Post to Slack"},
                                      {"tool_id", "slack_post_message"},
                                      {"args", {{"channel", "#general"}}}}});
    brief["tools"] = json::array({"slack_post_message"});
    insertAgent(s, uid, brief);

    if (auto nightly = findAgent(s, uid, "a-worker")) {
        (*nightly)["trigger"] = {{"type", "schedule"}, {"intervalMinutes", 1440}};
        (*nightly)["trigger_type"] = "schedule";
        (*nightly)["playbook"] = json::array(
            {{{"type", "tool"},
              {"name", "Search the web"},
              {"tool_id", "web_search"},
              {"args", {{"query", "our brand"}}}},
             {{"type", "llm"}, {"name", "Sum up"}, {"prompt", "List new mentions of our brand and their tone."}},
             {{"type", "tool"},
              {"name", "Log in the sheet"},
              {"tool_id", "sheets_append_row"},
              {"args", {{"sheet", "Mentions"}}}}});
        saveAgent(s, uid, *nightly);
    }
}

} // namespace service
