#include "projects/ProjectOverview.h"

namespace service {

namespace {

struct Section {
    const char* key;
    const char* heading;
};

constexpr Section kSections[] = {{"product_audience", "Product and audience"},
                                 {"desired_result", "Desired result"},
                                 {"competitors", "Competitors and alternatives"},
                                 {"constraints", "Constraints"}};

constexpr size_t kMaxBriefBytes = 20000;

std::string field(const json& overview, const char* key)
{
    const auto it = overview.find(key);
    return it != overview.end() && it->is_string() ? trim(it->get<std::string>()) : std::string();
}

} // namespace

size_t utf16Units(const std::string& utf8)
{
    size_t units = 0;
    for (unsigned char c : utf8) {
        if ((c & 0xC0) != 0x80)
            ++units;
        if ((c & 0xF8) == 0xF0)
            ++units; // outside the basic plane: a surrogate pair
    }
    return units;
}

std::string overviewDocument(const json& overview)
{
    std::string doc = "<!-- tessal:project-overview:v1 -->";
    for (const auto& [key, heading] : kSections) {
        const std::string marker = std::string("<!-- tessal:field:") + key;
        doc += "\n\n" + marker + ":start -->\n## " + heading + "\n";
        if (const std::string value = field(overview, key); !value.empty())
            doc += value + "\n";
        doc += marker + ":end -->";
    }
    return doc;
}

CreateBrief briefFromCreateBody(const json& body)
{
    if (body.contains("brief") && !body["brief"].is_string() && !body["brief"].is_null())
        return CreateBrief{{}, "brief must be a text"};
    const bool hasOverview = body.contains("overview") && !body["overview"].is_null();
    if (!hasOverview) {
        const std::string brief = str(body, "brief");
        if (brief.size() > kMaxBriefBytes)
            return CreateBrief{{}, "brief must be a text of at most 20000 bytes"};
        return CreateBrief{brief};
    }
    const json& overview = body["overview"];
    if (!overview.is_object())
        return CreateBrief{{}, "overview must be an object of texts"};
    for (const char* key : {"description", "product_audience", "desired_result", "competitors", "constraints"})
        if (overview.contains(key) && !overview[key].is_string() && !overview[key].is_null())
            return CreateBrief{{}, std::string("overview.") + key + " must be a text"};
    std::string description = trim(str(body, "brief"));
    if (description.empty())
        description = field(overview, "description");
    const std::string doc = overviewDocument(overview);
    if (utf16Units(description) > kMaxDescriptionUnits || utf16Units(doc) > kMaxProfileUnits)
        return CreateBrief{{}, kProfileTooLong};
    return CreateBrief{description.empty() ? doc : description + "\n\n" + doc};
}

} // namespace service
