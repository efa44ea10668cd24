#include "intake/HtmlText.h"

#include "core/Utf8.h"
#include "intake/PlainText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace service::intake {

namespace {

constexpr size_t kMaxEntries = 200;
constexpr size_t kMaxEntryBytes = 1000;

void appendUtf8(std::string& out, unsigned long cp)
{
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return;
    if (cp < 0x80)
        out += char(cp);
    else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// The entity starting at `s[i]` ('&'), appended to `out`; answers the index after it.
size_t decodeEntity(const std::string& s, size_t i, std::string& out)
{
    const size_t end = s.find(';', i);
    if (end == std::string::npos || end - i > 10) {
        out += '&';
        return i + 1;
    }
    const std::string name = s.substr(i + 1, end - i - 1);
    static const std::pair<const char*, unsigned long> named[]
        = {{"amp", '&'},      {"lt", '<'},       {"gt", '>'},        {"quot", '"'},     {"apos", '\''},
           {"nbsp", ' '},     {"mdash", 0x2014}, {"ndash", 0x2013},  {"rsquo", 0x2019}, {"lsquo", 0x2018},
           {"ldquo", 0x201C}, {"rdquo", 0x201D}, {"hellip", 0x2026}, {"pound", 0xA3},   {"euro", 0x20AC},
           {"middot", 0xB7},  {"copy", 0xA9},    {"eacute", 0xE9},   {"times", 0xD7}};
    if (!name.empty() && name[0] == '#') {
        const bool hexForm = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
        const std::string digits = name.substr(hexForm ? 2 : 1);
        char* stop = nullptr;
        const unsigned long cp = std::strtoul(digits.c_str(), &stop, hexForm ? 16 : 10);
        if (!digits.empty() && *stop == '\0') {
            appendUtf8(out, cp);
            return end + 1;
        }
    }
    for (const auto& [entity, cp] : named)
        if (name == entity) {
            appendUtf8(out, cp);
            return end + 1;
        }
    out += '&';
    return i + 1;
}

// The value of attribute `name` inside a tag's text ("a href='x' class=y").
std::string attribute(const std::string& tag, const std::string& name)
{
    size_t i = 0;
    while (i < tag.size() && !std::isspace(static_cast<unsigned char>(tag[i])))
        ++i;
    while (i < tag.size()) {
        while (i < tag.size() && (std::isspace(static_cast<unsigned char>(tag[i])) || tag[i] == '/'))
            ++i;
        const size_t keyStart = i;
        while (i < tag.size() && tag[i] != '=' && !std::isspace(static_cast<unsigned char>(tag[i])))
            ++i;
        const std::string key = lowerAscii(tag.substr(keyStart, i - keyStart));
        while (i < tag.size() && std::isspace(static_cast<unsigned char>(tag[i])))
            ++i;
        std::string value;
        if (i < tag.size() && tag[i] == '=') {
            ++i;
            while (i < tag.size() && std::isspace(static_cast<unsigned char>(tag[i])))
                ++i;
            if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
                const char quote = tag[i++];
                const size_t close = tag.find(quote, i);
                value = tag.substr(i, close == std::string::npos ? std::string::npos : close - i);
                i = close == std::string::npos ? tag.size() : close + 1;
            } else {
                const size_t valueStart = i;
                while (i < tag.size() && !std::isspace(static_cast<unsigned char>(tag[i])))
                    ++i;
                value = tag.substr(valueStart, i - valueStart);
            }
        }
        if (key == name)
            return value;
        if (key.empty())
            ++i;
    }
    return {};
}

enum class Block { none, title, heading, paragraph, item };

Block blockOf(const std::string& name)
{
    if (name == "title")
        return Block::title;
    if (name == "h1" || name == "h2" || name == "h3")
        return Block::heading;
    if (name == "p")
        return Block::paragraph;
    if (name == "li")
        return Block::item;
    return Block::none;
}

bool containsBlocks(const std::string& name)
{
    for (const char* container : {"ul", "ol", "div", "section", "article", "main", "nav", "header", "footer", "table",
                                  "tr", "td", "body", "html"})
        if (name == container)
            return true;
    return false;
}

void push(std::vector<std::string>& list, std::string text)
{
    if (!text.empty() && list.size() < kMaxEntries)
        list.push_back(std::move(text));
}

} // namespace

std::string cleanText(const std::string& raw)
{
    std::string decoded;
    for (size_t i = 0; i < raw.size();) {
        if (raw[i] == '&')
            i = decodeEntity(raw, i, decoded);
        else
            decoded += raw[i++];
    }
    if (!isValidUtf8(decoded))
        decoded = nlohmann::json::parse(
                      nlohmann::json(decoded).dump(-1, ' ', false, nlohmann::json::error_handler_t::ignore))
                      .get<std::string>();
    std::string out;
    bool blank = false;
    for (unsigned char c : decoded) {
        if (std::isspace(c) || c < 0x20) {
            blank = !out.empty();
            continue;
        }
        if (blank)
            out += ' ';
        blank = false;
        out += char(c);
    }
    return utf8Prefix(out, kMaxEntryBytes);
}

PageText readHtml(const std::string& html)
{
    PageText page;
    const std::string lower = lowerAscii(html);
    Block block = Block::none;
    std::string text;
    bool inLink = false;
    std::string linkHref, linkText;

    const auto flush = [&] {
        std::string clean = cleanText(text);
        text.clear();
        if (block == Block::title && page.title.empty())
            page.title = clean;
        else if (block == Block::heading)
            push(page.headings, std::move(clean));
        else if (block == Block::paragraph)
            push(page.paragraphs, std::move(clean));
        else if (block == Block::item)
            push(page.items, std::move(clean));
        block = Block::none;
    };

    size_t i = 0;
    while (i < html.size()) {
        if (html[i] != '<') {
            const size_t next = std::min(html.find('<', i), html.size());
            if (block != Block::none)
                text.append(html, i, next - i);
            if (inLink && linkText.size() < kMaxEntryBytes)
                linkText.append(html, i, next - i);
            i = next;
            continue;
        }
        if (lower.compare(i, 4, "<!--") == 0) {
            const size_t end = lower.find("-->", i + 4);
            i = end == std::string::npos ? html.size() : end + 3;
            continue;
        }
        const size_t end = html.find('>', i);
        if (end == std::string::npos)
            break;
        const std::string tag = html.substr(i + 1, end - i - 1);
        i = end + 1;
        const bool closing = !tag.empty() && tag[0] == '/';
        std::string name;
        for (size_t k = closing ? 1 : 0; k < tag.size() && std::isalnum(static_cast<unsigned char>(tag[k])); ++k)
            name += char(std::tolower(static_cast<unsigned char>(tag[k])));
        if (!closing && (name == "script" || name == "style")) {
            const size_t close = lower.find("</" + name, i);
            i = close == std::string::npos ? html.size() : close;
            continue;
        }
        if (name == "br") {
            text += ' ';
            continue;
        }
        if (name == "a") {
            if (!closing) {
                inLink = true;
                linkHref = attribute(tag, "href");
                linkText.clear();
            } else if (inLink) {
                inLink = false;
                if (!linkHref.empty() && page.links.size() < kMaxEntries)
                    page.links.push_back({utf8Prefix(linkHref, kMaxEntryBytes), cleanText(linkText)});
            }
            continue;
        }
        if (!closing && name == "meta" && lowerAscii(attribute(tag, "name")) == "description") {
            page.description = cleanText(attribute(tag, "content"));
            continue;
        }
        const Block opened = blockOf(name);
        if (opened == Block::none) {
            // A list or section ending closes whatever text block it held.
            if (block != Block::none && containsBlocks(name))
                flush();
            continue;
        }
        if (block != Block::none)
            flush();
        if (!closing)
            block = opened;
    }
    if (block != Block::none)
        flush();
    return page;
}

} // namespace service::intake
