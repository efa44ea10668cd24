#pragma once
// How an employee is reached: its e-mail address under the service's domain, or a phone number
// on one of the carriers the app offers, each with the fields that carrier needs.
#include <optional>
#include <string>
#include <vector>

namespace service {

inline constexpr const char* kAgentMailDomain = "agents.halvex.local";
inline constexpr const char* kBadLocalPart = "Use letters, digits, dots and hyphens for the address.";
inline constexpr const char* kBadPhone = "Phone number must look like +14155551212.";

struct CarrierField {
    const char* key;
    const char* label;
    bool secret;
    bool optional;
};

struct Carrier {
    const char* id; // "twilio": posted to /api/v2/user/twilio-channels, stored as "twilio_voice"
    std::vector<CarrierField> fields;
    bool provisions = false; // finds a number itself instead of taking one
};

const std::vector<Carrier>& carriers();

// The local part lowered, or nothing when it breaks the rule: 1 to 40 of a-z, 0-9, "." and "-",
// starting with a letter or digit.
std::optional<std::string> normalLocalPart(const std::string& text);
// A local part made from an employee's name ("Support Desk" -> "support-desk").
std::string localPartFromName(const std::string& name);
// "+" and 8 to 15 digits.
bool looksLikePhoneNumber(const std::string& text);

} // namespace service
