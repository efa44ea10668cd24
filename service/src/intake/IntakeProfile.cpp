#include "intake/IntakeProfile.h"

#include "core/Utf8.h"
#include "intake/IntakeQuestions.h"
#include "intake/PlainText.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace service::intake {

namespace {

// An offered option as it sits inside a sentence: "Within a month" reads "within a month". What
// the user typed keeps its case, names included.
std::string midSentence(std::string s)
{
    if (isOfferedOption(s) && !s.empty() && std::isupper(static_cast<unsigned char>(s[0])))
        s[0] = char(std::tolower(static_cast<unsigned char>(s[0])));
    return s;
}

std::string sentence(std::string s)
{
    s = trim(s);
    if (!s.empty() && std::string(".!?").find(s.back()) == std::string::npos)
        s += '.';
    return s;
}

// The sentences of `text` that use any of `words`, at most `limit` of them.
std::vector<std::string> sentencesAbout(const std::string& text, std::initializer_list<const char*> words, size_t limit)
{
    std::vector<std::string> out;
    for (const auto& s : sentencesOf(text))
        if (out.size() < limit && containsAny(s, words))
            out.push_back(sentence(s));
    return out;
}

bool unsure(const std::string& answer)
{
    const std::string a = lowerAscii(trim(answer));
    return a.empty() || a.rfind("not sure", 0) == 0 || a.rfind("not decided", 0) == 0 || a.rfind("don't know", 0) == 0
        || a.rfind("no idea", 0) == 0 || a == "unknown";
}

class Answers {
public:
    explicit Answers(const std::map<std::string, std::string>& a) : m_answers(a) {}
    // The answer to `key` when the user gave one that settles it.
    std::string sure(const std::string& key) const
    {
        const auto it = m_answers.find(key);
        return it == m_answers.end() || unsure(it->second) ? std::string() : trim(it->second);
    }

private:
    const std::map<std::string, std::string>& m_answers;
};

std::string join(const std::vector<std::string>& parts)
{
    std::string out;
    for (const auto& p : parts)
        if (!p.empty())
            out += (out.empty() ? "" : " ") + p;
    return out;
}

std::string firstSentence(const std::string& text)
{
    const auto all = sentencesOf(text);
    return all.empty() ? std::string() : sentence(all.front());
}

std::string describe(const std::string& description, const IntakeSource& source)
{
    const std::string told = utf8Prefix(trim(description), 1200);
    const std::string site = firstSentence(source.digest);
    if (told.empty())
        return join(
            {site,
             source.digest.size() > site.size() ? firstSentence(source.digest.substr(site.size())) : std::string()});
    if (site.empty() || lowerAscii(told).find(lowerAscii(site.substr(0, 40))) != std::string::npos)
        return sentence(told);
    return join({sentence(told), "From the website: " + site});
}

std::string offering(const IntakeSource& source)
{
    // Priced facts name what is sold most plainly; then facts about making or delivering it.
    std::vector<std::string> picked;
    for (const auto& words :
         {std::initializer_list<const char*>{"£", "€", "$"},
          std::initializer_list<const char*>{"sell", "offer", "make", "bake", "design", "build", "supply", "deliver"}})
        for (const auto& fact : source.facts)
            if (picked.size() < 3 && containsAny(fact, words)
                && std::find(picked.begin(), picked.end(), sentence(fact)) == picked.end())
                picked.push_back(sentence(fact));
    if (picked.empty())
        return {};
    std::string out = "What it offers: " + picked[0];
    for (size_t i = 1; i < picked.size(); ++i)
        out += " " + picked[i];
    return out;
}

} // namespace

ProfileDraft writeProfile(const std::string& description, const IntakeSource& source,
                          const std::map<std::string, std::string>& given)
{
    const Answers answers(given);
    json needs = json::array();
    json overview = json::object();
    const auto put = [&](const char* key, const std::string& text, bool needsUser) {
        overview[key] = utf8Prefix(text, 1500);
        if (needsUser || text.empty())
            needs.push_back(key);
    };

    put("description", describe(description, source), false);

    const std::string audience = answers.sure("audience");
    const std::string offers = offering(source);
    const std::string problem = join(sentencesAbout(description, {"problem", "struggle", "hard to", "need"}, 1));
    put("product_audience",
        join({offers, audience.empty() ? "" : "Who it serves first: " + sentence(midSentence(audience)), problem}),
        audience.empty());

    const std::string result = answers.sure("desired_result");
    const std::string deadline = answers.sure("deadline");
    std::string aim = result.empty() ? join(sentencesAbout(description, {"goal", "want", "aim", "grow", "launch"}, 2))
                                     : sentence(result);
    if (!aim.empty() && !deadline.empty())
        aim += " First results: " + sentence(midSentence(deadline));
    put("desired_result", aim, result.empty());

    const std::string rivals = answers.sure("competitors");
    std::string compared = rivals.empty()
        ? join(sentencesAbout(description, {"competitor", "compete", "versus", "alternative"}, 2))
        : "Customers compare it with " + sentence(midSentence(rivals));
    if (!compared.empty() && source.read() && !source.digest.empty())
        compared += " What sets it apart, in its own words: " + firstSentence(source.digest);
    put("competitors", compared, rivals.empty());

    std::vector<std::string> limits;
    for (const auto& [key, label] : {std::pair{"budget", "Budget: "}, std::pair{"deadline", "Timing: "},
                                     std::pair{"channels", "Channels: "}, std::pair{"tone", "Tone: "}})
        if (const std::string a = answers.sure(key); !a.empty())
            limits.push_back(label + sentence(midSentence(a)));
    for (const auto& fact : source.facts)
        if (limits.size() < 7 && containsAny(fact, {"open ", "deliver", "notice", "within", "only", "minimum"}))
            limits.push_back(sentence(fact));
    for (const auto& s :
         sentencesAbout(description, {"must", "only", "cannot", "can't", "limit", "deadline", "budget"}, 2))
        limits.push_back(s);
    put("constraints", join(limits), false);

    return {overview, needs};
}

} // namespace service::intake
