#include "governance/ExternalApis.h"

#include "governance/Rows.h"

namespace service {

const std::vector<ExternalApi>& externalApis()
{
    static const std::vector<ExternalApi> list{
        {"openweathermap", "OpenWeather", "Current weather and forecasts for any place.", "weather",
         "https://api.openweathermap.org/data/2.5", "https://openweathermap.org/api"},
        {"newsapi", "News API", "Headlines and articles from thousands of sources.", "news", "https://newsapi.org/v2",
         "https://newsapi.org/docs"},
        {"alphavantage", "Alpha Vantage", "Stock, currency and crypto prices.", "finance",
         "https://www.alphavantage.co/query", "https://www.alphavantage.co/documentation/"},
        {"exchangerate", "ExchangeRate API", "Daily exchange rates for 160 currencies.", "finance",
         "https://v6.exchangerate-api.com/v6", "https://www.exchangerate-api.com/docs"},
        {"serpapi", "SerpApi", "Search engine results as structured data.", "search", "https://serpapi.com",
         "https://serpapi.com/search-api"},
        {"hunter", "Hunter", "Find and verify professional e-mail addresses.", "sales", "https://api.hunter.io/v2",
         "https://hunter.io/api-documentation"},
        {"deepl", "DeepL", "Translation of texts and documents.", "language", "https://api-free.deepl.com/v2",
         "https://developers.deepl.com/docs"},
        {"mapbox", "Mapbox", "Geocoding, directions and static maps.", "maps", "https://api.mapbox.com",
         "https://docs.mapbox.com/api/"},
        {"ipinfo", "IPinfo", "Location and company behind an IP address.", "data", "https://ipinfo.io",
         "https://ipinfo.io/developers"},
        {"sendgrid", "SendGrid", "Transactional and bulk e-mail delivery.", "email", "https://api.sendgrid.com/v3",
         "https://docs.sendgrid.com/api-reference"},
    };
    return list;
}

const ExternalApi* findExternalApi(const std::string& slug)
{
    return findByKey(externalApis(), slug, &ExternalApi::slug);
}

nlohmann::json externalApiJson(const ExternalApi& api)
{
    return {{"slug", api.slug},         {"label", api.label},      {"summary", api.summary},
            {"category", api.category}, {"base_url", api.baseUrl}, {"docs_url", api.docsUrl}};
}

} // namespace service
