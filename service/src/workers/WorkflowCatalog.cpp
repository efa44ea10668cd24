#include "workers/WorkflowCatalog.h"

#include <set>
#include <sstream>

namespace service::workers {

using nlohmann::json;

namespace {

// llm: a = prompt; browse: a = address, b = instructions; tool: a = tool id, b = args as "key=value&key=value".
struct StepRow {
    const char* type;
    const char* name;
    const char* a;
    const char* b;
};

struct Row {
    const char* id;
    const char* name;
    const char* role;
    const char* creator;
    const char* handle;
    int installs;
    const char* description;
    std::vector<StepRow> steps;
};

const char* const kStudio = "Halvex Studio";

const std::vector<Row>& rows()
{
    static const std::vector<Row> all = {
        {"wf-pricing-digest",
         "Weekly pricing digest",
         "Market analyst",
         kStudio,
         "halvex-studio",
         1320,
         "Reads competitors' pricing pages every week and posts what changed to your team channel.",
         {{"browse", "Collect pricing pages", "https://example.com/pricing", "Note every plan, price and limit."},
          {"llm", "Compare with last week", "List every price that changed since last week, biggest change first.", ""},
          {"tool", "Post to Slack", "slack_post_message", "channel=#pricing"}}},
        {"wf-morning-news",
         "Morning news brief",
         "Research assistant",
         kStudio,
         "halvex-studio",
         2210,
         "Searches the news on your topics each morning and sends a five-line brief.",
         {{"tool", "Search the news", "web_search", "query=industry news today"},
          {"llm", "Write the brief", "Summarise the five most important stories in one line each.", ""},
          {"tool", "Email the brief", "send_email", "subject=Your morning brief"}}},
        {"wf-lead-enricher",
         "Lead enricher",
         "Sales researcher",
         "Nora Lindqvist",
         "nora.lindqvist",
         840,
         "Looks up each new lead's company, sizes it and writes the findings into your CRM.",
         {{"browse", "Read the company site", "https://example.com/about", "Find size, sector and location."},
          {"llm", "Score the lead", "Score the lead from 1 to 5 for fit and give one reason.", ""},
          {"tool", "Update the CRM", "crm_update_record", "field=lead_score"}}},
        {"wf-support-triage",
         "Support inbox triage",
         "Support lead",
         kStudio,
         "halvex-studio",
         1575,
         "Sorts new support requests by urgency and drafts a first answer for each.",
         {{"tool", "Fetch new tickets", "nango_request", "connector=zendesk&operation=list_tickets"},
          {"llm", "Sort by urgency", "Label every ticket urgent, normal or low and say why in five words.", ""},
          {"llm", "Draft first answers", "Draft a short, friendly first answer for every urgent ticket.", ""},
          {"tool", "Post the urgent ones", "slack_post_message", "channel=#support"}}},
        {"wf-seo-watch",
         "SEO rank watch",
         "SEO specialist",
         "Kai Moreno",
         "kai.moreno",
         690,
         "Checks where your key pages rank and logs the positions in a sheet.",
         {{"tool", "Search your keywords", "web_search", "query=your main keyword"},
          {"llm", "Find your positions", "Note the position of each of our pages for every keyword.", ""},
          {"tool", "Log in the sheet", "sheets_append_row", "sheet=Rankings"}}},
        {"wf-meeting-notes",
         "Meeting notes to Notion",
         "Operations assistant",
         kStudio,
         "halvex-studio",
         1105,
         "Turns a meeting transcript into decisions and next steps on a Notion page.",
         {{"llm", "Pull out decisions", "List every decision and who owns it.", ""},
          {"llm", "List next steps", "Write the next steps with an owner and a date each.", ""},
          {"tool", "Create the page", "notion_create_page", "parent=Meetings"}}},
        {"wf-invoice-chaser",
         "Invoice chaser",
         "Bookkeeper",
         "Iris Okafor",
         "iris.okafor",
         560,
         "Finds overdue invoices and sends a polite reminder for each one.",
         {{"tool", "Read overdue invoices", "sheets_append_row", "sheet=Invoices"},
          {"llm", "Write reminders", "Write a polite two-line reminder for every overdue invoice.", ""},
          {"tool", "Send the reminders", "send_email", "subject=A friendly reminder"}}},
        {"wf-social-listening",
         "Social listening",
         "Community manager",
         kStudio,
         "halvex-studio",
         930,
         "Watches mentions of your brand and flags the ones that need an answer.",
         {{"tool", "Search mentions", "web_search", "query=our brand"},
          {"llm", "Flag what needs an answer", "Mark every mention that asks a question or complains.", ""},
          {"tool", "Post to the team", "slack_post_message", "channel=#social"}}},
        {"wf-release-notes",
         "Release notes writer",
         "Technical writer",
         "Kai Moreno",
         "kai.moreno",
         470,
         "Reads the week's changes and writes release notes customers understand.",
         {{"browse", "Read the changelog", "https://example.com/changelog", "Collect every change merged this week."},
          {"llm", "Write the notes", "Group the changes into new, improved and fixed, in plain words.", ""},
          {"tool", "Create the document", "docs_create_document", "title=Release notes"}}},
        {"wf-competitor-launches",
         "Competitor launch tracker",
         "Market analyst",
         "Nora Lindqvist",
         "nora.lindqvist",
         780,
         "Checks competitors' blogs for launches and explains what each means for you.",
         {{"browse", "Read competitor blogs", "https://example.com/blog", "Find posts that announce a launch."},
          {"llm", "Explain the impact", "For each launch, say in two lines what it means for us.", ""},
          {"tool", "Add to Notion", "notion_create_page", "parent=Competitors"}}},
        {"wf-hiring-pipeline",
         "Candidate screener",
         "Recruiter",
         kStudio,
         "halvex-studio",
         645,
         "Screens new applications against the role and books calls with the best fits.",
         {{"tool", "Fetch applications", "nango_request", "connector=greenhouse&operation=list_applications"},
          {"llm", "Screen against the role", "Rate each application against the must-haves and say why.", ""},
          {"tool", "Book the calls", "calendar_create_event", "title=Intro call"}}},
        {"wf-weekly-metrics",
         "Weekly metrics report",
         "Data analyst",
         "Iris Okafor",
         "iris.okafor",
         1010,
         "Pulls the week's numbers and writes a short report with what moved and why.",
         {{"tool", "Pull the numbers", "nango_request", "connector=stripe&operation=weekly_summary"},
          {"llm", "Explain what moved", "Name the three numbers that moved most and a likely reason for each.", ""},
          {"tool", "Log in the sheet", "sheets_append_row", "sheet=Weekly metrics"},
          {"tool", "Post the report", "slack_post_message", "channel=#metrics"}}},
        {"wf-content-calendar",
         "Content calendar filler",
         "Content strategist",
         kStudio,
         "halvex-studio",
         720,
         "Plans next week's posts from trending topics and puts them on the calendar.",
         {{"tool", "Find trending topics", "web_search", "query=trending in our industry"},
          {"llm", "Plan the posts", "Plan five posts with a title and a one-line angle each.", ""},
          {"tool", "Put them on the calendar", "calendar_create_event", "title=Publish post"}}},
        {"wf-churn-alert",
         "Churn early warning",
         "Customer success manager",
         "Nora Lindqvist",
         "nora.lindqvist",
         530,
         "Spots customers whose usage dropped and drafts a check-in for each.",
         {{"tool", "Read usage", "nango_request", "connector=segment&operation=usage_by_account"},
          {"llm", "Find the drops", "List customers whose weekly usage fell by more than a third.", ""},
          {"llm", "Draft check-ins", "Draft a short, helpful check-in email for each of them.", ""},
          {"tool", "Update the CRM", "crm_update_record", "field=health"}}},
        {"wf-grant-finder",
         "Grant finder",
         "Research assistant",
         "Iris Okafor",
         "iris.okafor",
         310,
         "Searches for grants that fit your organisation and lists the deadlines.",
         {{"tool", "Search for grants", "web_search", "query=grants for small businesses"},
          {"llm", "Check the fit", "Keep the grants we qualify for and note each deadline.", ""},
          {"tool", "Log in the sheet", "sheets_append_row", "sheet=Grants"}}},
        {"wf-review-responder",
         "Review responder",
         "Support specialist",
         kStudio,
         "halvex-studio",
         880,
         "Reads new product reviews and drafts a reply to each one.",
         {{"browse", "Read new reviews", "https://example.com/reviews", "Collect the reviews posted since yesterday."},
          {"llm", "Draft replies", "Draft a warm, specific reply to each review; thank, answer, invite back.", ""},
          {"tool", "Send for approval", "slack_post_message", "channel=#reviews"}}},
        {"wf-event-scout",
         "Event scout",
         "Marketing coordinator",
         "Kai Moreno",
         "kai.moreno",
         290,
         "Finds conferences and meetups worth attending and adds them to your calendar.",
         {{"tool", "Search events", "web_search", "query=conferences next quarter"},
          {"llm", "Pick the best", "Pick the three events with the best audience fit and say why.", ""},
          {"tool", "Add to calendar", "calendar_create_event", "title=Event"}}},
        {"wf-deal-desk",
         "Deal desk summary",
         "Sales operations",
         kStudio,
         "halvex-studio",
         415,
         "Summarises every open deal's status and the next step before the weekly sales call.",
         {{"tool", "Read open deals", "nango_request", "connector=hubspot&operation=list_deals"},
          {"llm", "Summarise each deal", "One line per deal: stage, value, next step and owner.", ""},
          {"tool", "Create the doc", "docs_create_document", "title=Deal desk"}}},
        {"wf-uptime-digest",
         "Status page digest",
         "Site reliability engineer",
         "Iris Okafor",
         "iris.okafor",
         365,
         "Reads your vendors' status pages and warns you about incidents that affect you.",
         {{"browse", "Read status pages", "https://example.com/status", "Note every open incident."},
          {"llm", "Judge the impact", "Say which incidents affect our product and how.", ""},
          {"tool", "Alert the team", "n8n_webhook", "path=incident-alert"}}},
        {"wf-newsletter-curator",
         "Newsletter curator",
         "Editor",
         kStudio,
         "halvex-studio",
         1190,
         "Collects the week's best links on your topic and drafts the newsletter issue.",
         {{"tool", "Find the links", "web_search", "query=best articles this week"},
          {"browse", "Read the top article", "https://example.com/top-story", "Pull out the main argument."},
          {"llm", "Draft the issue", "Draft an issue with an intro and five links, two lines each.", ""},
          {"tool", "Send the draft", "send_email", "subject=Newsletter draft"}}},
    };
    return all;
}

json stepJson(const StepRow& r)
{
    json step{{"type", r.type}, {"name", r.name}};
    const std::string type = r.type;
    if (type == "llm") {
        step["prompt"] = r.a;
    } else if (type == "browse") {
        step["url"] = r.a;
        step["instructions"] = r.b;
    } else {
        json args = json::object();
        std::stringstream in(r.b);
        for (std::string pair; std::getline(in, pair, '&');)
            if (const size_t eq = pair.find('='); eq != std::string::npos)
                args[pair.substr(0, eq)] = pair.substr(eq + 1);
        step["tool_id"] = r.a;
        step["args"] = args;
    }
    return step;
}

} // namespace

const std::vector<Workflow>& workflowCatalog()
{
    static const std::vector<Workflow> all = [] {
        std::vector<Workflow> out;
        for (const auto& r : rows()) {
            json playbook = json::array();
            for (const auto& step : r.steps)
                playbook.push_back(stepJson(step));
            out.push_back({r.id, r.name, r.description, r.role, r.creator, r.handle, r.installs, playbook});
        }
        return out;
    }();
    return all;
}

const Workflow* findWorkflow(const std::string& id)
{
    for (const auto& w : workflowCatalog())
        if (w.id == id)
            return &w;
    return nullptr;
}

size_t toolsIn(const json& playbook)
{
    std::set<std::string> tools;
    if (playbook.is_array())
        for (const auto& step : playbook)
            if (step.is_object() && step.value("type", json()) == "tool" && step.contains("tool_id")
                && step["tool_id"].is_string())
                tools.insert(step["tool_id"].get<std::string>());
    return tools.size();
}

} // namespace service::workers
