#pragma once
// The intake's reading of a website, in the shape both intake stages answer it.
#include "core/Http.h"

#include <string>
#include <vector>

namespace service::intake {

struct IntakeSource {
    std::string status; // "read", "partial", "unreachable", "invalid" or "none" (no website given)
    std::string canonicalUrl;
    std::string title;
    std::vector<std::string> pages;
    std::vector<std::string> facts;
    std::string digest;
    std::string warning;
    std::string token; // the stored evidence's handle; empty when nothing was read

    bool read() const { return status == "read" || status == "partial"; }
    // The eight keys; "token" only when there is one.
    json toJson() const;
};

// A source the client sends back: its texts kept and cut to size, anything else dropped.
IntakeSource sourceFromJson(const json& v);

} // namespace service::intake
