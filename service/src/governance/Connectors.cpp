#include "governance/Connectors.h"

#include "governance/Rows.h"

namespace service {

const std::vector<Connector>& connectors()
{
    static const std::vector<Connector> list{
        {"gmail", "Gmail", "email", true, "#d93025"},
        {"outlook", "Outlook", "email", true, "#0a64c8"},
        {"hubspot", "HubSpot", "crm", false, "#ff7a59"},
        {"salesforce", "Salesforce", "crm", true, "#00a1e0"},
        {"pipedrive", "Pipedrive", "crm", false, "#1a1a1a"},
        {"notion", "Notion", "docs", false, "#2f2f2f"},
        {"google-docs", "Google Docs", "docs", true, "#4285f4"},
        {"confluence", "Confluence", "docs", false, "#1868db"},
        {"slack", "Slack", "chat", true, "#4a154b"},
        {"microsoft-teams", "Microsoft Teams", "chat", true, "#5059c9"},
        {"discord", "Discord", "chat", false, "#5865f2"},
        {"google-calendar", "Google Calendar", "calendar", true, "#1a73e8"},
        {"calendly", "Calendly", "calendar", false, "#006bff"},
        {"google-drive", "Google Drive", "storage", true, "#0f9d58"},
        {"dropbox", "Dropbox", "storage", true, "#0061fe"},
        {"stripe", "Stripe", "payments", false, "#635bff"},
        {"paypal", "PayPal", "payments", false, "#003087"},
        {"airtable", "Airtable", "data", false, "#fcb400"},
        {"github", "GitHub", "developer", false, "#24292f"},
        {"jira", "Jira", "projects", false, "#0052cc"},
        {"shopify", "Shopify", "commerce", false, "#5e8e3e"},
    };
    return list;
}

const Connector* findConnector(const std::string& slug) { return findByKey(connectors(), slug, &Connector::slug); }

nlohmann::json connectorJson(const Connector& c, const std::string& origin)
{
    return {{"id", std::string("conn-") + c.slug},
            {"name", c.name},
            {"slug", c.slug},
            {"category", c.category},
            {"logo_url", origin + "/connectors/logos/" + c.slug + ".svg"},
            {"auth_type", c.oauth ? "oauth2" : "api_key"},
            {"nango_auth_type", c.oauth ? "OAUTH2" : "API_KEY"}};
}

std::string connectorLogoSvg(const Connector& c)
{
    // Every name starts with an ASCII letter, so the initial needs no escaping.
    const char initial = c.name[0];
    return std::string("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">")
        + "<rect width=\"64\" height=\"64\" rx=\"14\" fill=\"" + c.colour + "\"/>"
        + "<text x=\"32\" y=\"43\" text-anchor=\"middle\" font-family=\"Helvetica, Arial, sans-serif\" "
          "font-size=\"30\" font-weight=\"600\" fill=\"#ffffff\">"
        + initial + "</text></svg>";
}

} // namespace service
