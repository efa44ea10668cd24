#include "workers/ToolCatalog.h"

#include <cctype>

namespace service::workers {

const std::vector<Tool>& toolCatalog()
{
    static const std::vector<Tool> tools = {
        {"web_search", "Web search", "Searched the web", {}},
        {"send_email", "Email", "Sent the email", {}},
        {"slack_post_message", "Slack", "Posted to Slack", {}},
        {"sheets_append_row", "Google Sheets", "Added a row to the sheet", {}},
        {"notion_create_page", "Notion", "Created a Notion page", {}},
        {"docs_create_document", "Google Docs", "Created a document", {}},
        {"calendar_create_event", "Calendar", "Added a calendar event", {}},
        {"crm_update_record", "CRM", "Updated the CRM record", {}},
        {"nango_request", "Connected app", "Called the connected app", {"connector", "operation"}},
        {"n8n_webhook", "n8n webhook", "Called the n8n webhook", {}},
        {kFailingTool, "Failing step", "Never finishes", {}},
    };
    return tools;
}

const Tool* findTool(const std::string& id)
{
    for (const auto& t : toolCatalog())
        if (id == t.id)
            return &t;
    return nullptr;
}

const char* toolForWords(const std::string& folded, const char* fallback)
{
    // A word starting with the key: "searches" asks for a search, "research" does not.
    static const std::pair<const char*, const char*> keys[] = {
        {"slack", "slack_post_message"},  {"email", "send_email"},          {"mail", "send_email"},
        {"gmail", "send_email"},          {"sheet", "sheets_append_row"},   {"spreadsheet", "sheets_append_row"},
        {"notion", "notion_create_page"}, {"doc", "docs_create_document"},  {"calendar", "calendar_create_event"},
        {"crm", "crm_update_record"},     {"hubspot", "crm_update_record"}, {"webhook", "n8n_webhook"},
        {"n8n", "n8n_webhook"},           {"search", "web_search"},
    };
    std::string word;
    for (const char c : folded + " ") {
        if (std::isalnum(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0x80) {
            word += c;
            continue;
        }
        for (const auto& [key, tool] : keys)
            if (!word.empty() && word.rfind(key, 0) == 0)
                return tool;
        word.clear();
    }
    return fallback;
}

} // namespace service::workers
