#include "governance/ChannelRules.h"

#include "core/Slug.h"

#include <cctype>

namespace service {

const std::vector<Carrier>& carriers()
{
    static const std::vector<Carrier> list{
        {"twilio",
         {{"account_sid", "Account SID", false, false},
          {"auth_token", "Auth token", true, false},
          {"phone_number", "Phone number", false, false}}},
        {"telnyx",
         {{"api_key", "API key", true, false},
          {"public_key", "Public key", true, true},
          {"phone_number", "Phone number", false, false}}},
        {"plivo",
         {{"auth_id", "Auth ID", false, false},
          {"auth_token", "Auth token", true, false},
          {"phone_number", "Phone number", false, false}}},
        {"vonage",
         {{"api_key", "API key", false, false},
          {"api_secret", "API secret", true, false},
          {"signature_secret", "Signature secret", true, true},
          {"phone_number", "Phone number", false, false}}},
        {"voximplant",
         {{"account_id", "Account ID", false, false},
          {"api_key", "API key", true, false},
          {"phone_number", "Phone number", false, false}}},
        {"agentphone",
         {{"api_key", "API key", true, false},
          {"country", "Country", false, true},
          {"area_code", "Area code", false, true}},
         true},
    };
    return list;
}

std::optional<std::string> normalLocalPart(const std::string& text)
{
    if (text.empty() || text.size() > 40)
        return std::nullopt;
    std::string out;
    for (unsigned char c : text) {
        const char lower = static_cast<char>(std::tolower(c));
        const bool letterOrDigit = (lower >= 'a' && lower <= 'z') || (c >= '0' && c <= '9');
        if (!letterOrDigit && (out.empty() || (c != '.' && c != '-')))
            return std::nullopt;
        out += lower;
    }
    return out;
}

std::string localPartFromName(const std::string& name)
{
    std::string part = asciiSlug(name).substr(0, 40);
    while (!part.empty() && part.back() == '-')
        part.pop_back();
    return part.empty() ? std::string("employee") : part;
}

bool looksLikePhoneNumber(const std::string& text)
{
    if (text.size() < 9 || text.size() > 16 || text[0] != '+')
        return false;
    for (size_t i = 1; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

} // namespace service
