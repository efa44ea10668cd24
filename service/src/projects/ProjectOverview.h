#pragma once
// The project profile as a brief holds it: the description as plain text, then the other four
// sections as one marked Markdown document the app reads back field by field.
#include "core/Http.h"

#include <string>

namespace service {

inline constexpr size_t kMaxDescriptionUnits = 4000;
inline constexpr size_t kMaxProfileUnits = 8000;
inline constexpr const char* kProfileTooLong
    = "The project profile is too long. Shorten the Description or context fields.";

// The length the app counts: UTF-16 code units.
size_t utf16Units(const std::string& utf8);

// The document of the four sections after the description, each block present even when empty.
std::string overviewDocument(const json& overview);

struct CreateBrief {
    std::string text;
    std::string refusal; // set when a part is of the wrong type or too long
};
// The brief a create body asks for: its "brief" (or the overview's description) followed by the
// overview's document when there is an "overview".
CreateBrief briefFromCreateBody(const json& body);

} // namespace service
