#include "intake/PlainText.h"

#include "core/Http.h"

#include <algorithm>

namespace service::intake {

bool containsAny(const std::string& text, std::initializer_list<const char*> words)
{
    const std::string t = lowerAscii(text);
    return std::any_of(words.begin(), words.end(), [&](const char* w) { return t.find(w) != std::string::npos; });
}

std::vector<std::string> sentencesOf(const std::string& text)
{
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size() || text[i] == '\n'
            || ((text[i] == '.' || text[i] == '!' || text[i] == '?')
                && (i + 1 == text.size() || text[i + 1] == ' ' || text[i + 1] == '\n'));
        if (!end)
            continue;
        std::string s = trim(text.substr(start, i + 1 - start));
        if (!s.empty())
            out.push_back(std::move(s));
        start = i + 1;
    }
    return out;
}

} // namespace service::intake
