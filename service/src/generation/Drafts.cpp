#include "generation/Drafts.h"

#include "core/Utf8.h"

namespace service::generation {

using nlohmann::json;

namespace {

json option(const char* label, const char* value, const char* hint)
{
    return {{"label", label}, {"value", value}, {"hint", hint}};
}

json question(const char* key, const std::string& text, json options, bool multi)
{
    return {{"key", key}, {"question", text}, {"options", std::move(options)}, {"multiSelect", multi}};
}

// Answered by the app itself: replies land in its own chat.
json channelQuestion()
{
    return question(
        "channel", "Where should results be delivered?",
        json::array({option("Tessal chat (built-in)", "in_app_chat", "Replies and files arrive in this chat"),
                     option("Email digest", "email", "A summary in your inbox")}),
        false);
}

json clarifyQuestions(const DraftRequest& r)
{
    const Domain& d = *r.brief.domain;
    json questions = json::array();
    if (r.brief.says("channel only"))
        return json::array({channelQuestion()});
    json scopes = json::array();
    for (const auto& c : d.scopes)
        scopes.push_back(option(c.label, c.value, c.hint));
    questions.push_back(question(
        "scope", r.team ? "What should this team own first?" : "What should this employee own first?", scopes, false));
    if (r.worker)
        questions.push_back(question("cadence", "How often should it run?",
                                     json::array({option("Every hour", "hourly", "For inboxes and alerts"),
                                                  option("Every morning", "daily", "A fresh result to start the day"),
                                                  option("Every Monday", "weekly", "A weekly round-up")}),
                                     false));
    if (r.team)
        questions.push_back(
            question("handoff", "How should work move between members?",
                     json::array({option("Strict pipeline", "pipeline", "Each member hands to the next in order"),
                                  option("Lead decides", "lead", "The lead routes every request"),
                                  option("Open floor", "open", "Members claim what fits them")}),
                     false));
    questions.push_back(
        question("tone", "How should it sound?",
                 json::array({option("Warm and plain", "warm", "Friendly, short sentences, no jargon"),
                              option("Crisp and formal", "formal", "Precise, for clients and executives"),
                              option("Bold and persuasive", "bold", "Confident copy that sells")}),
                 false));
    questions.push_back(question("sources", "What can it work from?",
                                 json::array({option("The public web", "web", "Search and read open pages"),
                                              option("Your files", "files", "Documents you upload or share"),
                                              option("Connected apps", "apps", "Mail, sheets and CRM you connect"),
                                              option("Past conversations", "history", "What you told it before")}),
                                 true));
    questions.push_back(channelQuestion());
    return questions;
}

bool asksQuestions(const DraftRequest& r)
{
    return r.round <= 1 && !r.forceReady && r.clarifications.empty() && !r.brief.says("no questions");
}

std::string systemPrompt(const DraftRequest& r, const std::string& role)
{
    const Domain& d = *r.brief.domain;
    std::string p = "You are " + (r.brief.name ? *r.brief.name + ", " : std::string()) + "a " + role + ". You own "
        + d.focus + ".\n\n";
    p += "What the user asked for:\n" + utf8Prefix(r.brief.text, 2000) + "\n\n";
    p += "How you work:\n- Start from the goal, then plan, then do.\n- " + std::string(d.skills.front().description)
        + "\n- Deliver " + d.outputs.front() + " the user can use as they are.\n";
    if (const std::string tone = toneLine(r); !tone.empty())
        p += "\nVoice: " + tone + "\n";
    p += "\nRules:\n";
    for (const char* c : d.constraints)
        p += std::string("- ") + c + "\n";
    if (!r.clarifications.empty()) {
        p += "\nDecisions already made:\n";
        for (const auto& c : r.clarifications)
            p += "- " + c.value("question", "") + " " + c.value("answer", "") + "\n";
    }
    return p;
}

json workProfile(const DraftRequest& r)
{
    const Domain& d = *r.brief.domain;
    json decisions = json::object();
    for (const auto& c : r.clarifications)
        if (!c.value("key", "").empty())
            decisions[c.value("key", "")] = c.value("answer", "");
    const std::string sources = answerTo(r, "sources");
    return {{"mission", std::string("Own ") + d.focus + "."},
            {"inputs", sources.empty() ? json::array({"the brief", "your files"}) : json::array({sources})},
            {"outputs", stringList(d.outputs)},
            {"cadence", r.worker && !runsOnDemand(r) ? std::to_string(intervalFor(r)) + " minutes" : "on request"},
            {"quality_bar", d.skills.back().content},
            {"escalation", d.constraints.back()},
            {"decisions", decisions}};
}

json soloDraft(const DraftRequest& r)
{
    const Domain& d = *r.brief.domain;
    const std::string scope = answerTo(r, "scope");
    std::string role = d.role;
    for (const auto& c : d.scopes)
        if (scope == c.value)
            role += std::string(" — ") + c.label;
    json draft{{"mode", "ready"},
               {"role", role},
               {"description", firstSentence(r.brief.text) + ". Owns " + d.focus + "."},
               {"system_prompt", systemPrompt(r, d.role)},
               {"response_language", r.brief.cyrillic ? "ru" : "en"},
               {"knowledge_base", std::string(d.knowledge) + "\n\nFrom the brief: " + utf8Prefix(r.brief.text, 1000)},
               {"knowledge_urls", stringList(d.urls)},
               {"skills", skillsJson(d)},
               {"tools", stringList(d.tools)},
               {"constraints", stringList(d.constraints)},
               {"work_profile", workProfile(r)}};
    // An employee has no name unless the user gave one: the app then picks one of its own.
    if (r.brief.name)
        draft["name"] = *r.brief.name;
    draft["trigger"] = {{"type", "manual"}};
    if (r.worker)
        addWorkerParts(draft, r);
    return draft;
}

} // namespace

int intervalFor(const DraftRequest& r)
{
    const std::string cadence = answerTo(r, "cadence");
    if (cadence == "hourly")
        return 60;
    if (cadence == "weekly")
        return 10080;
    if (cadence == "daily")
        return 1440;
    return r.brief.cadenceMinutes.value_or(1440);
}

std::string answerTo(const DraftRequest& r, const char* key)
{
    for (const auto& c : r.clarifications)
        if (c.value("key", "") == key)
            return c.value("answer", "");
    return {};
}

std::string toneLine(const DraftRequest& r)
{
    const std::string tone = answerTo(r, "tone");
    if (tone == "warm")
        return "warm and plain — short sentences, no jargon.";
    if (tone == "formal")
        return "crisp and formal — precise, ready for clients.";
    if (tone == "bold")
        return "bold and persuasive — confident, clear calls to action.";
    return tone;
}

json stringList(const std::vector<const char*>& items)
{
    json out = json::array();
    for (const char* i : items)
        out.push_back(i);
    return out;
}

json skillsJson(const Domain& d)
{
    json out = json::array();
    for (const auto& s : d.skills)
        out.push_back({{"name", s.name}, {"description", s.description}, {"content", s.content}});
    return out;
}

json buildDraft(const DraftRequest& r)
{
    if (asksQuestions(r))
        return {{"mode", "clarify"}, {"questions", clarifyQuestions(r)}};
    return r.team ? buildTeamDraft(r) : soloDraft(r);
}

} // namespace service::generation
