#include "generation/Brief.h"

#include "core/Slug.h"
#include "core/Utf8.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

namespace service::generation {

namespace {

bool hasCyrillic(const std::string& s)
{
    // U+0400 to U+04FF are encoded with a lead byte of 0xD0 to 0xD3.
    for (unsigned char c : s)
        if (c >= 0xD0 && c <= 0xD3)
            return true;
    return false;
}

bool letter(unsigned char c) { return std::isalpha(c) || c >= 0x80 || c == '\'' || c == '-'; }

// One or two words after "named" or "called": "named Mira Lane, who…" -> "Mira Lane".
std::optional<std::string> givenName(const std::string& text)
{
    std::string lower = text;
    for (auto& c : lower)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    for (const char* marker : {"named ", "called "}) {
        const size_t at = lower.find(marker);
        if (at == std::string::npos)
            continue;
        size_t i = at + std::string(marker).size();
        std::string name;
        for (int word = 0; word < 2 && i < text.size(); ++word) {
            if (word == 1 && !std::isupper(static_cast<unsigned char>(text[i]))
                && static_cast<unsigned char>(text[i]) < 0x80)
                break;
            size_t end = i;
            while (end < text.size() && letter(static_cast<unsigned char>(text[end])))
                ++end;
            if (end == i)
                break;
            name += (name.empty() ? "" : " ") + text.substr(i, end - i);
            if (end >= text.size() || text[end] != ' ')
                break;
            i = end + 1;
        }
        if (!name.empty() && isValidUtf8(name)) {
            name[0] = char(std::toupper(static_cast<unsigned char>(name[0])));
            return utf8Prefix(name, 40);
        }
    }
    return std::nullopt;
}

// "four people", "3 members", "5-person": a count right before a word for people. A plain scan,
// not a pattern, so a brief of thousands of digits costs no deeper stack than any other.
std::optional<int> teamSizeIn(const std::string& folded)
{
    static const char* const numbers[] = {"two", "three", "four", "five", "six", "seven", "eight"};
    static const char* const nouns[] = {"member", "people", "agent", "employee", "role", "person", "specialist"};
    std::vector<std::string> words;
    std::string word;
    for (unsigned char c : folded + " ") {
        if (std::isalnum(c) || c >= 0x80)
            word += char(c);
        else if (!word.empty())
            words.push_back(std::exchange(word, {}));
    }
    for (size_t i = 1; i < words.size(); ++i) {
        bool noun = false;
        for (const char* n : nouns)
            noun = noun || words[i].rfind(n, 0) == 0;
        if (!noun)
            continue;
        const std::string& count = words[i - 1];
        if (std::all_of(count.begin(), count.end(), [](unsigned char c) { return std::isdigit(c); }))
            return std::clamp(count.size() > 2 ? 99 : std::stoi(count), 2, 5);
        for (int k = 0; k < 7; ++k)
            if (count == numbers[k])
                return std::clamp(k + 2, 2, 5);
    }
    return std::nullopt;
}

std::optional<int> cadenceIn(const Brief& b)
{
    if (b.says("hourly") || b.says("every hour"))
        return 60;
    if (b.says("weekly") || b.says("every week") || b.says("every monday"))
        return 10080;
    if (b.says("daily") || b.says("every day") || b.says("every morning") || b.says("each morning"))
        return 1440;
    return std::nullopt;
}

} // namespace

Outcome Brief::outcome() const
{
    if (says("fail loudly"))
        return Outcome::failLoudly;
    if (says("fail quietly"))
        return Outcome::failQuietly;
    if (says("abort the job"))
        return Outcome::aborted;
    if (says("vanish for good"))
        return Outcome::lostForGood;
    if (says("vanish briefly"))
        return Outcome::lostBriefly;
    if (says("stall forever"))
        return Outcome::stalled;
    if (says("empty result"))
        return Outcome::emptyResult;
    if (says("garbled draft"))
        return Outcome::garbled;
    return Outcome::draft;
}

Brief readBrief(const std::string& text)
{
    Brief b;
    b.text = text;
    b.folded = foldCaseAndDiacritics(text);
    b.cyrillic = hasCyrillic(text);
    b.name = givenName(text);
    b.domain = &domainFor(b.folded);
    b.teamSize = teamSizeIn(b.folded);
    b.cadenceMinutes = cadenceIn(b);
    return b;
}

std::string firstSentence(const std::string& text)
{
    std::string s = utf8Prefix(text.substr(0, text.find_first_of(".!?\n")), 240);
    while (!s.empty() && (s.back() == ' ' || s.back() == ','))
        s.pop_back();
    if (!s.empty())
        s[0] = char(std::toupper(static_cast<unsigned char>(s[0])));
    return s;
}

} // namespace service::generation
