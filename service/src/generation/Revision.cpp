#include "generation/Revision.h"

#include "core/AsciiCase.h"
#include "core/Http.h"
#include "core/Utf8.h"
#include "workers/Playbook.h"
#include "workers/ToolCatalog.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <sstream>

namespace service::generation {

using nlohmann::json;

namespace {

const char* const kTypes[] = {"browse", "tool", "llm"};
constexpr const char* kDefaultUrl = "https://example.com/source";

// A number of up to four digits at `at`, moving `at` past it.
std::optional<size_t> numberAt(const std::string& s, size_t& at)
{
    size_t n = 0, digits = 0;
    while (at < s.size() && digits < 4 && std::isdigit(static_cast<unsigned char>(s[at]))) {
        n = n * 10 + size_t(s[at++] - '0');
        ++digits;
    }
    return digits ? std::optional(n) : std::nullopt;
}

// The instruction's own words: the app's scope lines taken out, the step they name kept.
// `lower` is the text in ASCII lower case at the same offsets; rules blank out what they used.
struct Instruction {
    std::optional<size_t> scope; // the step number as written (1-based)
    std::string text;
    std::string lower;

    // The phrase at a word start, from `from` on.
    size_t find(const std::string& phrase, size_t from = 0) const
    {
        for (size_t at = lower.find(phrase, from); at != std::string::npos; at = lower.find(phrase, at + 1))
            if (at == 0 || !std::isalnum(static_cast<unsigned char>(lower[at - 1])))
                return at;
        return std::string::npos;
    }
    // Where the sentence going on at `from` ends: a line end, or . ! ? before a space or the end.
    size_t sentenceEnd(size_t from) const
    {
        for (size_t i = from; i < text.size(); ++i)
            if (text[i] == '\n'
                || (std::string(".!?").find(text[i]) != std::string::npos
                    && (i + 1 == text.size() || std::isspace(static_cast<unsigned char>(text[i + 1])))))
                return i;
        return text.size();
    }
    void use(size_t from, size_t to) { std::fill(lower.begin() + long(from), lower.begin() + long(to), ' '); }
};

Instruction readInstruction(const std::string& raw)
{
    static const std::string scopeLine = "change only pipeline step ";
    Instruction in;
    std::istringstream lines(raw);
    for (std::string line; std::getline(lines, line);) {
        const std::string lower = lowerAscii(trim(line));
        if (lower.rfind(scopeLine, 0) == 0) {
            size_t at = scopeLine.size();
            if (const auto n = numberAt(lower, at))
                in.scope = *n;
            continue;
        }
        if (lower.rfind("keep every other pipeline step", 0) == 0)
            continue;
        in.text += (in.text.empty() ? "" : "\n") + line;
    }
    in.text = trim(in.text);
    in.lower = lowerAscii(in.text);
    return in;
}

std::string withoutQuotes(std::string s)
{
    static const char* const quotes[] = {"\"", "'", "`", "“", "”", "‘", "’", "«", "»"};
    for (bool changed = true; changed;) {
        changed = false;
        s = trim(s);
        for (const std::string q : quotes) {
            if (s.size() >= q.size() && s.compare(0, q.size(), q) == 0) {
                s.erase(0, q.size());
                changed = true;
            }
            if (s.size() >= q.size() && s.compare(s.size() - q.size(), q.size(), q) == 0) {
                s.erase(s.size() - q.size());
                changed = true;
            }
        }
    }
    return s;
}

// The instruction as a sentence: one line, a capital first letter, a full stop.
std::string asSentence(std::string s)
{
    std::replace(s.begin(), s.end(), '\n', ' ');
    s = trim(s);
    if (s.empty())
        return s;
    s[0] = char(std::toupper(static_cast<unsigned char>(s[0])));
    if (std::string(".!?").find(s.back()) == std::string::npos)
        s += '.';
    return s;
}

void appendTo(json& step, const char* key, const std::string& sentence)
{
    const std::string now = trim(str(step, key));
    step[key] = now.empty() ? sentence : now + " " + sentence;
}

// The type named at `at` ("browse", "tool" or "llm"), moving `at` past it.
std::optional<std::string> typeAt(const std::string& lower, size_t& at)
{
    for (const std::string type : kTypes)
        if (lower.compare(at, type.size(), type) == 0) {
            at += type.size();
            return type;
        }
    return std::nullopt;
}

// What follows "… a tool step" as the step's own text: "that emails the team" -> "Emails the team."
std::string stepText(const std::string& said)
{
    std::string rest = withoutQuotes(said);
    for (const std::string joiner : {"that ", "to ", "which ", "for ", ": ", "- ", ", "})
        if (lowerAscii(rest).rfind(joiner, 0) == 0)
            rest = trim(rest.substr(joiner.size()));
    return rest.empty() ? rest : asSentence(rest);
}

json freshStep(const std::string& type, const std::string& carried)
{
    json step{{"type", type}, {"name", workers::defaultStepName(type)}};
    if (type == "llm") {
        step["prompt"] = carried.empty() ? "Reason over the results so far and write down the key points." : carried;
    } else if (type == "browse") {
        const size_t at = carried.find("http");
        std::string url = at == std::string::npos ? "" : carried.substr(at, carried.find_first_of(" \t\n", at) - at);
        while (!url.empty() && std::string(".,;:!?)”\"'").find(url.back()) != std::string::npos)
            url.pop_back();
        step["url"] = url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0 ? url : kDefaultUrl;
        step["instructions"] = carried.empty() ? "Read the page and note what changed." : carried;
    } else {
        step["tool_id"] = workers::toolForWords(lowerAscii(carried));
        step["args"] = json::object();
    }
    return step;
}

// The step as the other type: what the instruction said of it ("a tool step that emails the
// team"), else its prompt or instructions, carried over.
void retype(json& step, const std::string& type, const std::string& said)
{
    const workers::Step old = workers::readStep(step);
    const std::string carried = !said.empty() ? said : trim(!old.prompt.empty() ? old.prompt : old.instructions);
    for (const char* key : {"prompt", "url", "instructions", "tool_id", "args"})
        step.erase(key);
    json fresh = freshStep(type, carried);
    if (type == "browse" && !old.url.empty())
        fresh["url"] = old.url;
    step.update(fresh);
}

class Reviser {
public:
    Reviser(const json& draft, Instruction in) : m_draft(draft), m_in(std::move(in))
    {
        m_draft.erase("mode");
        m_steps = m_draft.contains("playbook") ? m_draft["playbook"] : json::array();
    }

    std::variant<json, std::string> run()
    {
        if (m_in.scope && (*m_in.scope < 1 || *m_in.scope > m_steps.size()))
            return noStep(*m_in.scope);
        // In this order: a new name or a new step's text is used up before the later rules read on.
        bool changed = rename();
        changed = retypeStep() || changed;
        changed = addStep() || changed;
        const auto removed = removeStep();
        if (const auto* problem = std::get_if<std::string>(&removed))
            return *problem;
        changed = std::get<bool>(removed) || changed;
        changed = retrigger() || changed;
        if (!changed)
            appendSentence();
        if (m_draft.contains("playbook") || !m_steps.empty())
            m_draft["playbook"] = m_steps;
        m_draft["mode"] = "ready";
        return m_draft;
    }

private:
    static std::string noStep(size_t n) { return "There is no step " + std::to_string(n) + " in this worker."; }
    size_t scoped() const { return *m_in.scope - 1; }

    bool rename()
    {
        for (const std::string phrase : {"rename it to ", "rename to ", "call it "}) {
            const size_t at = m_in.find(phrase);
            if (at == std::string::npos)
                continue;
            const size_t end = m_in.sentenceEnd(at + phrase.size());
            const std::string name
                = utf8Prefix(withoutQuotes(m_in.text.substr(at + phrase.size(), end - at - phrase.size())), 200);
            m_in.use(at, end);
            if (name.empty())
                return false;
            (m_in.scope ? m_steps[scoped()]["name"] : m_draft["name"]) = name;
            return true;
        }
        return false;
    }

    bool retypeStep()
    {
        for (size_t at = m_in.find("make "); at != std::string::npos; at = m_in.find("make ", at + 1)) {
            size_t i = at + 5;
            std::optional<size_t> index;
            for (const std::string it : {"it a ", "it an ", "this step a ", "this step an ", "this a "})
                if (m_in.scope && m_in.lower.compare(i, it.size(), it) == 0) {
                    index = scoped();
                    i += it.size();
                    break;
                }
            if (!index && m_in.lower.compare(i, 5, "step ") == 0) {
                i += 5;
                const auto n = numberAt(m_in.lower, i);
                for (const std::string a : {" a ", " an "})
                    if (n && m_in.lower.compare(i, a.size(), a) == 0) {
                        index = m_in.scope ? scoped() : *n - 1;
                        i += a.size();
                        break;
                    }
            }
            const auto type = index ? typeAt(m_in.lower, i) : std::nullopt;
            if (!type || *index >= m_steps.size())
                continue;
            if (m_in.lower.compare(i, 5, " step") == 0)
                i += 5;
            const size_t end = m_in.sentenceEnd(i);
            retype(m_steps[*index], *type, stepText(m_in.text.substr(i, end - i)));
            m_in.use(at, end);
            return true;
        }
        return false;
    }

    bool addStep()
    {
        for (const std::string phrase : {"add a ", "add an "}) {
            const size_t at = m_in.find(phrase);
            size_t i = at + phrase.size();
            const auto type = at == std::string::npos ? std::nullopt : typeAt(m_in.lower, i);
            if (!type || m_in.lower.compare(i, 5, " step") != 0)
                continue;
            i += 5;
            const size_t end = m_in.sentenceEnd(i);
            const json step = freshStep(*type, stepText(m_in.text.substr(i, end - i)));
            m_in.use(at, end);
            m_steps.insert(m_steps.begin() + long(m_in.scope ? scoped() + 1 : m_steps.size()), step);
            return true;
        }
        return false;
    }

    // True when a step went; a step named that the playbook lacks is refused.
    std::variant<bool, std::string> removeStep()
    {
        std::optional<size_t> index;
        for (const std::string verb : {"remove ", "delete "}) {
            const size_t at = m_in.find(verb);
            if (at == std::string::npos)
                continue;
            const size_t i = at + verb.size();
            if (m_in.scope && (m_in.lower.compare(i, 2, "it") == 0 || m_in.lower.compare(i, 9, "this step") == 0)) {
                index = scoped();
            } else if (m_in.lower.compare(i, 5, "step ") == 0) {
                size_t digits = i + 5;
                const auto n = numberAt(m_in.lower, digits);
                if (n && !m_in.scope && (*n < 1 || *n > m_steps.size()))
                    return noStep(*n);
                if (n)
                    index = m_in.scope ? scoped() : *n - 1;
            } else if (m_in.lower.compare(i, 4, "the ") == 0) {
                const size_t end = m_in.lower.find(" step", i + 4);
                if (end == std::string::npos || end > m_in.sentenceEnd(i))
                    continue;
                const std::string name = withoutQuotes(m_in.text.substr(i + 4, end - i - 4));
                for (size_t k = 0; k < m_steps.size() && !index; ++k)
                    if (lowerAscii(workers::readStep(m_steps[k]).name) == lowerAscii(name))
                        index = k;
                if (!index)
                    return "There is no step named “" + name + "” in this worker.";
            }
            if (index) {
                m_in.use(at, m_in.sentenceEnd(at));
                m_steps.erase(m_steps.begin() + long(*index));
                return true;
            }
        }
        return false;
    }

    bool retrigger()
    {
        if (m_in.scope)
            return false;
        static const std::pair<const char*, long long> cadences[]
            = {{"every hour", 60},      {"hourly", 60},        {"every day", 1440}, {"daily", 1440},
               {"every morning", 1440}, {"every week", 10080}, {"weekly", 10080}};
        for (const auto& [phrase, minutes] : cadences)
            if (m_in.find(phrase) != std::string::npos)
                return setTrigger({{"type", "schedule"}, {"intervalMinutes", minutes}});
        if (m_in.find("manual") != std::string::npos || m_in.find("on demand") != std::string::npos)
            return setTrigger({{"type", "manual"}});
        return false;
    }

    // A draft that also says its trigger type keeps the two in step.
    bool setTrigger(const json& trigger)
    {
        m_draft["trigger"] = trigger;
        if (m_draft.contains("trigger_type"))
            m_draft["trigger_type"] = trigger["type"];
        return true;
    }

    void appendSentence()
    {
        const std::string sentence = asSentence(m_in.text);
        if (m_in.scope) {
            json& step = m_steps[scoped()];
            const std::string type = workers::readStep(step).type;
            if (type == "browse")
                appendTo(step, "instructions", sentence);
            else if (type == "tool" && step.contains("args") && step["args"].is_object())
                appendTo(step["args"], "note", sentence);
            else if (type == "tool")
                step["args"] = {{"note", sentence}};
            else
                appendTo(step, "prompt", sentence);
            return;
        }
        bool any = false;
        for (auto& step : m_steps)
            if (step.is_object() && workers::readStep(step).type == "llm") {
                appendTo(step, "prompt", sentence);
                any = true;
            }
        if (!any)
            appendTo(m_draft, "system_prompt", sentence);
    }

    json m_draft;
    json m_steps;
    Instruction m_in;
};

} // namespace

std::variant<json, std::string> reviseDraft(const json& draft, const std::string& instruction)
{
    return Reviser(draft, readInstruction(instruction)).run();
}

} // namespace service::generation
