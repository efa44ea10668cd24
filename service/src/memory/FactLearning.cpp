#include "memory/FactLearning.h"

#include "agents/AgentJson.h"
#include "agents/AgentStore.h"
#include "core/Http.h"
#include "intake/PlainText.h"
#include "memory/FactBlob.h"
#include "memory/MemoryWorkspace.h"

#include <algorithm>
#include <cctype>

namespace service {

namespace {

using intake::sentencesOf;

constexpr size_t kMaxSentenceBytes = 400;
constexpr size_t kMaxFactBytes = 200;
constexpr size_t kMaxFactsPerMessage = 5;

struct Rule {
    std::vector<std::string> phrases; // lower-case, each matched at the start of a word
    const char* heading;
    const char* lead;   // how the fact reads back: "Prefers " + what the user said
    bool replaces;      // one value at a time: a newer statement replaces the older
    size_t maxWords;    // 0: the rest of the sentence
    bool opensSentence; // only at the start of a sentence ("call me later" is not a name)
};

const std::vector<Rule>& rules()
{
    static const std::vector<Rule> all{
        {{"i prefer ", "i'd prefer ", "i would prefer ", "we prefer ", "we'd prefer ", "we would prefer "},
         "### Preference",
         "Prefers ",
         false,
         0,
         false},
        {{"our budget is ", "my budget is ", "the budget is ", "our monthly budget is ", "my monthly budget is "},
         "### Budget",
         "Budget is ",
         true,
         0,
         false},
        {{"we are based in ", "we're based in ", "i am based in ", "i'm based in ", "our company is based in "},
         "### Location",
         "Based in ",
         true,
         0,
         false},
        {{"call me ", "please call me ", "you can call me ", "just call me "},
         "### Name",
         "Wants to be called ",
         true,
         3,
         true},
        {{"my name is "}, "### Name", "Name is ", true, 3, false},
    };
    return all;
}

// Typographic apostrophes as plain ones, so "I’m" reads like "I'm".
std::string plainApostrophes(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s.compare(i, 3, "\xE2\x80\x99") == 0) {
            out += '\'';
            i += 2;
        } else
            out += s[i];
    }
    return out;
}

bool wordStart(const std::string& s, size_t at)
{
    return at == 0 || !std::isalnum(static_cast<unsigned char>(s[at - 1]));
}

// Only a greeting or a joining word may stand before a phrase that has to open the sentence.
bool opensSentence(const std::string& lower, size_t at)
{
    std::string before = lower.substr(0, at);
    before.erase(std::remove_if(before.begin(), before.end(), [](char c) { return c == ',' || c == '!'; }),
                 before.end());
    before = trim(before);
    for (const char* w : {"", "hi", "hello", "hey", "and", "also", "oh", "btw"})
        if (before == w)
            return true;
    return false;
}

std::string stripTail(std::string s)
{
    while (!s.empty() && std::string(".!,;: \t").find(s.back()) != std::string::npos)
        s.pop_back();
    return s;
}

// The first `maxWords` words of a name, or nothing when the words are not a name.
std::string nameWords(const std::string& rest, size_t maxWords)
{
    static const char* const notNames[]
        = {"back",  "later", "tomorrow", "today",  "tonight", "when",    "if",  "at",    "on",
           "about", "in",    "after",    "before", "to",      "anytime", "now", "please"};
    std::vector<std::string> words;
    size_t i = 0;
    while (i < rest.size() && words.size() < maxWords) {
        const size_t end = std::min(rest.find(' ', i), rest.size());
        const std::string word = stripTail(rest.substr(i, end - i));
        const bool stop = word.empty() || std::isdigit(static_cast<unsigned char>(word[0]))
            || std::find(std::begin(notNames), std::end(notNames), lowerAscii(word)) != std::end(notNames);
        if (stop)
            break;
        words.push_back(word);
        if (end < rest.size() && std::string(",;").find(rest[end - 1]) != std::string::npos)
            break;
        i = end + 1;
    }
    std::string out;
    for (const auto& w : words)
        out += (out.empty() ? "" : " ") + w;
    return out;
}

std::optional<StatedFact> factIn(const std::string& sentence, const Rule& rule)
{
    const std::string lower = lowerAscii(sentence);
    for (const auto& phrase : rule.phrases) {
        const size_t at = lower.find(phrase);
        if (at == std::string::npos || !wordStart(lower, at) || (rule.opensSentence && !opensSentence(lower, at)))
            continue;
        const std::string rest = stripTail(trim(sentence.substr(at + phrase.size())));
        const std::string value = rule.maxWords ? nameWords(rest, rule.maxWords) : rest;
        if (value.size() < 2 || value.size() > kMaxFactBytes)
            return std::nullopt;
        return StatedFact{rule.heading, std::string(rule.heading) + "\n" + rule.lead + value + ".", rule.replaces};
    }
    return std::nullopt;
}

} // namespace

std::vector<StatedFact> factsStatedIn(const std::string& text)
{
    std::vector<StatedFact> out;
    for (const auto& sentence : sentencesOf(plainApostrophes(text))) {
        if (sentence.size() > kMaxSentenceBytes || sentence.back() == '?')
            continue;
        for (const auto& rule : rules())
            if (auto fact = factIn(sentence, rule); fact && out.size() < kMaxFactsPerMessage) {
                out.push_back(std::move(*fact));
                break;
            }
    }
    return out;
}

void learnFromUserMessage(Service& s, const ChatTarget& target, const std::string& text)
{
    try {
        const auto facts = factsStatedIn(text);
        if (facts.empty())
            return;
        const auto remember = [&](std::string& blob) {
            bool changed = false;
            for (const auto& f : facts)
                changed = rememberFact(blob, f.entry, f.replaces ? f.heading : std::string()) || changed;
            return changed;
        };
        if (target.team)
            return changeWorkspaceFacts(s, target.userId, teamWorkspaceKey(target.id), remember);
        s.db->transaction([&] {
            auto agent = findAgent(s, target.userId, target.id);
            if (!agent)
                return;
            std::string blob = textOf(*agent, "user_metadata_md");
            if (!remember(blob))
                return;
            (*agent)["user_metadata_md"] = blob;
            saveAgent(s, target.userId, *agent);
        });
    } catch (const std::exception&) {
        // The message is stored already; what it taught is a side effect that never fails it.
    }
}

} // namespace service
