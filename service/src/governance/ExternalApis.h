#pragma once
// Outside APIs an employee can call with the user's own key: weather, news, markets, search…
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace service {

struct ExternalApi {
    const char* slug;
    const char* label;
    const char* summary;
    const char* category;
    const char* baseUrl;
    const char* docsUrl;
};

const std::vector<ExternalApi>& externalApis();
const ExternalApi* findExternalApi(const std::string& slug);
nlohmann::json externalApiJson(const ExternalApi& api);

} // namespace service
