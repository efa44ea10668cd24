#pragma once
// The readable parts of an HTML page: title, description, headings, paragraphs, list items and
// links. A flat scanner, no tree and no recursion, so any input costs one pass.
#include <string>
#include <vector>

namespace service::intake {

struct PageLink {
    std::string href;
    std::string text;
};

struct PageText {
    std::string title;
    std::string description; // <meta name="description">
    std::vector<std::string> headings;
    std::vector<std::string> paragraphs;
    std::vector<std::string> items;
    std::vector<PageLink> links;
};

PageText readHtml(const std::string& html);
// Entities decoded, white space collapsed to single blanks, trimmed; invalid UTF-8 dropped.
std::string cleanText(const std::string& raw);

} // namespace service::intake
