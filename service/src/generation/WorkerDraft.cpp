// Worker drafts: a short title when the brief names none, a playbook that reads a source, works
// through it and delivers with a tool the service knows, and the trigger the brief asks for.
#include "generation/Drafts.h"

#include "core/AsciiCase.h"
#include "core/Utf8.h"
#include "workers/ToolCatalog.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>

namespace service::generation {

using nlohmann::json;

namespace {

// Words a brief starts with before it says what the worker is.
const std::set<std::string> kLeading
    = {"a",     "an",  "the",   "please", "i",      "we",   "need", "want", "would", "like", "me",
       "us",    "my",  "our",   "build",  "create", "make", "set",  "up",   "give",  "get",  "send",
       "write", "run", "check", "post",   "worker", "that", "can",  "you",  "could", "to"};
// Words after which a brief gives detail rather than the worker's name.
const std::set<std::string> kDetail = {"of",    "for", "to",    "from", "about", "with", "on", "in",   "that",
                                       "which", "who", "every", "each", "and",   "by",   "at", "into", "so"};
constexpr size_t kTitleWords = 5;

// The delivery tool's args: enough for a person to see where the result goes.
json deliveryArgs(const std::string& tool, const std::string& title)
{
    if (tool == "slack_post_message")
        return {{"channel", "#general"}};
    if (tool == "send_email")
        return {{"to", "me"}, {"subject", title}};
    if (tool == "crm_update_record")
        return {{"record", "account"}};
    if (tool == "notion_create_page")
        return {{"parent", "Workers"}, {"title", title}};
    if (tool == "n8n_webhook")
        return {{"path", "worker"}};
    return {{"title", title}};
}

const char* domainTool(const Domain& d)
{
    const std::string key = d.key;
    if (key == "email")
        return "send_email";
    if (key == "sales")
        return "crm_update_record";
    if (key == "research")
        return "notion_create_page";
    if (key == "finance")
        return "sheets_append_row";
    if (key == "content")
        return "docs_create_document";
    return "slack_post_message";
}

json workerPlaybook(const DraftRequest& r, const std::string& title)
{
    const Domain& d = *r.brief.domain;
    std::string tool = workers::toolForWords(r.brief.folded, domainTool(d));
    if (tool == "web_search") // searching is how a worker starts, not how it delivers
        tool = domainTool(d);
    json steps = json::array(
        {{{"type", "browse"},
          {"name", "Collect source"},
          {"url", d.urls.front()},
          {"instructions", std::string("Note what changed since the last run. Keep to ") + d.focus + "."}}});
    if (std::find(d.tools.begin(), d.tools.end(), std::string("web_search")) != d.tools.end())
        steps.push_back({{"type", "tool"},
                         {"name", "Search the web"},
                         {"tool_id", "web_search"},
                         {"args", {{"query", utf8Prefix(firstSentence(r.brief.text), 120)}}}});
    steps.push_back(
        {{"type", "llm"},
         {"name", "Work through them"},
         {"prompt",
          std::string("Using the inputs, produce the ") + d.outputs.front() + ". " + d.skills.front().content}});
    steps.push_back({{"type", "llm"},
                     {"name", "Check the result"},
                     {"prompt", std::string("Check against the rules: ") + d.constraints.front()}});
    steps.push_back({{"type", "tool"}, {"name", "Deliver"}, {"tool_id", tool}, {"args", deliveryArgs(tool, title)}});
    return steps;
}

} // namespace

std::string workerTitle(const Brief& b)
{
    if (b.name)
        return *b.name;
    std::istringstream in(firstSentence(b.text));
    std::vector<std::string> words;
    bool leading = true;
    for (std::string word; words.size() < kTitleWords && in >> word;) {
        const bool endsClause = std::string(",;:").find(word.back()) != std::string::npos;
        if (endsClause)
            word.pop_back();
        const std::string lower = lowerAscii(word);
        if (leading && kLeading.count(lower))
            continue;
        leading = false;
        if (!words.empty() && kDetail.count(lower))
            break;
        if (!word.empty())
            words.push_back(word);
        if (endsClause)
            break;
    }
    std::string title;
    for (const auto& w : words)
        title += (title.empty() ? "" : " ") + w;
    if (title.empty())
        return b.domain->role;
    if (words.size() == 1)
        title += " worker";
    title[0] = char(std::toupper(static_cast<unsigned char>(title[0])));
    return utf8Prefix(title, 60);
}

bool runsOnDemand(const DraftRequest& r)
{
    return r.brief.says("manual") || r.brief.says("on demand") || answerTo(r, "cadence") == "manual";
}

void addWorkerParts(json& draft, const DraftRequest& r)
{
    const std::string title = workerTitle(r.brief);
    draft["name"] = title;
    draft["playbook"] = workerPlaybook(r, title);
    draft["trigger"]
        = runsOnDemand(r) ? json{{"type", "manual"}} : json{{"type", "schedule"}, {"intervalMinutes", intervalFor(r)}};
}

} // namespace service::generation
