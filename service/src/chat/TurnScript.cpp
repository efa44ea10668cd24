#include "chat/TurnScript.h"

#include "core/AsciiCase.h"
#include "core/Utf8.h"

#include <algorithm>
#include <cctype>

namespace service {

namespace {

bool mentions(const std::string& lowered, std::initializer_list<const char*> words)
{
    return std::any_of(words.begin(), words.end(), [&](const char* w) { return lowered.find(w) != std::string::npos; });
}

// Builds the actions of one turn; every message carries the turn's identity so the client can
// keep steps, answer and usage of one piece of work together.
class Script {
public:
    explicit Script(const TurnContext& turn) : m_turn(turn) {}

    json meta(json extra = json::object()) const
    {
        extra["work_kind"] = "chat_turn";
        extra["work_id"] = m_turn.turnId;
        if (m_turn.team && !extra.contains("from"))
            extra["from"] = m_turn.speaker;
        if (m_turn.goalRun) {
            extra["goal_run_id"] = m_turn.goalRun->runId;
            extra["goal_id"] = m_turn.goalRun->goalId;
        }
        return extra;
    }

    // A step shown running, then the same message finished.
    void step(const std::string& tool, json details, const std::string& running, const std::string& done,
              const std::optional<std::string>& fullText = std::nullopt)
    {
        const std::string ref = "step" + std::to_string(m_actions.size());
        json base = meta(std::move(details));
        base["tool"] = tool;
        // A step that opens a page works in the employee's computer; "browser_view" tells the
        // client to look at its live view.
        if (tool == "browser_navigate" && base.contains("args") && base["args"].is_object())
            base["browser_view"] = {{"url", base["args"].value("url", std::string())}};
        if (fullText)
            base["_truncated"] = true;
        json first = base;
        first["status"] = "running";
        first["kind"] = m_goalSteps ? "goal_step" : "tool_call";
        add(TurnAction::Kind::insert, ref, "step", running, first, fullText);
        json last = base;
        last["status"] = "done";
        last["kind"] = m_goalSteps ? "goal_step" : "tool_done";
        add(TurnAction::Kind::update, ref, "step", done, last, fullText);
    }

    void failedStep(const std::string& tool, json details, const std::string& running, const std::string& error)
    {
        const std::string ref = "step" + std::to_string(m_actions.size());
        json first = meta(std::move(details));
        first["tool"] = tool;
        first["status"] = "running";
        first["kind"] = "tool_call";
        add(TurnAction::Kind::insert, ref, "step", running, first);
        json last = first;
        last["status"] = "failed";
        last["kind"] = "tool_error";
        last["error"] = error;
        add(TurnAction::Kind::update, ref, "step", error, last);
    }

    void handOff()
    {
        if (!m_turn.team || m_turn.members.empty())
            return;
        const std::string member = m_turn.members.front();
        step("delegate_to_teammate", {{"delegate_to", member}, {"member_handle", member}},
             "Asking @" + member + " to help with this", "@" + member + " picked up their part");
    }

    void answer(const std::string& text, json extra = json::object(), bool completesGoal = false)
    {
        add(TurnAction::Kind::insert, "answer" + std::to_string(m_actions.size()), "assistant", text,
            meta(std::move(extra)));
        m_actions.back().completesGoalRun = completesGoal;
    }

    void usage()
    {
        const long long tokens = 400 + 9 * static_cast<long long>(m_turn.text.size());
        json extra{{"kind", "turn_spend"}, {"tokens", tokens}, {"cost_usd", double(tokens) * 0.000002}};
        // A usage line is bookkeeping, not news: it never counts as unread.
        add(TurnAction::Kind::insert, "usage", "assistant", "", meta(std::move(extra)), std::nullopt, true);
    }

    // Steps of a goal run read as goal progress lines.
    void useGoalSteps() { m_goalSteps = true; }

    // The steps planned inside `body` run side by side: all start, then all finish in order,
    // the way an employee searches and reads several sources at once.
    template <typename Body>
    void together(Body body)
    {
        m_holdFinishes = true;
        body();
        m_holdFinishes = false;
        for (TurnAction& finish : m_heldFinishes)
            m_actions.push_back(std::move(finish));
        m_heldFinishes.clear();
    }

    std::vector<TurnAction> take() { return std::move(m_actions); }

private:
    void add(TurnAction::Kind kind, const std::string& ref, const std::string& role, const std::string& content,
             json metadata, const std::optional<std::string>& fullText = std::nullopt, bool read = false)
    {
        TurnAction a;
        a.kind = kind;
        a.ref = ref;
        a.message.role = role;
        a.message.content = content;
        a.message.metadata = std::move(metadata);
        a.message.read = read;
        a.message.fullContent = fullText;
        (kind == TurnAction::Kind::update && m_holdFinishes ? m_heldFinishes : m_actions).push_back(std::move(a));
    }

    const TurnContext& m_turn;
    std::vector<TurnAction> m_actions;
    std::vector<TurnAction> m_heldFinishes;
    bool m_holdFinishes = false;
    bool m_goalSteps = false;
};

const char* const kSources[][3] = {
    {"Northwind Analytics", "Northwind pricing", "https://example.com/northwind/pricing"},
    {"Blue Harbor", "Blue Harbor review", "https://example.org/reviews/blue-harbor"},
    {"Lumen Labs", "Lumen Labs docs", "https://docs.example.net/lumen"},
};

std::string researchReport(const std::string& topic)
{
    std::string out
        = "## Findings: " + topic + "\n\nThree options stand out after comparing price, support and fit:\n\n";
    const char* notes[] = {"lowest price and a generous free tier", "the best support, answers within an hour",
                           "the most complete API, but a steeper learning curve"};
    for (int i = 0; i < 3; ++i)
        out += std::to_string(i + 1) + ". **" + kSources[i][0] + "** — " + notes[i] + "\n";
    out += "\n### Recommendation\n\nStart with **Northwind Analytics**; revisit Lumen Labs if you need deeper "
           "automation.\n\nSources: ";
    for (int i = 0; i < 3; ++i)
        out += std::string(i ? ", " : "") + "[" + kSources[i][1] + "](" + kSources[i][2] + ")";
    return out;
}

std::string pageExtract(const std::string& topic)
{
    std::string out = "Page extract for " + topic + ":\n\n";
    for (int i = 1; i <= 24; ++i)
        out += "Paragraph " + std::to_string(i)
            + ": the pricing page lists plans, limits and support terms; this section repeats the details the "
              "report relies on so that nothing is lost when the step is shown shortened.\n";
    return out;
}

// The answer's metadata for an artifact under `key`; a team chat also names the teammate who
// owns it, so the client opens it as theirs.
json artifactMeta(const TurnContext& turn, const char* key, json artifact)
{
    artifact["id"] = turn.artifactId;
    if (!turn.artifactOwner.empty())
        artifact["author_agent_id"] = turn.artifactOwner;
    json meta{{key, std::move(artifact)}};
    if (turn.team && !turn.artifactOwner.empty()) {
        meta["member_id"] = turn.artifactOwner;
        if (!turn.members.empty())
            meta["member_name"] = turn.members.front();
    }
    return meta;
}

void planArtifact(Script& script, const TurnContext& turn, const std::string& type, const std::string& topic)
{
    script.handOff();
    if (type == "table") {
        script.step("user_table", {{"args", {{"name", "Leads"}}}}, "Creating the table", "Updated a data table");
        script.answer("I put the results into a table: **Leads**.",
                      artifactMeta(turn, "artifact", {{"artifact_type", "table"}, {"name", "Leads"}}));
    } else if (type == "note") {
        script.step("notes_write", {{"args", {{"title", "Notes"}}}}, "Writing the note", "Updated saved notes");
        script.answer("I saved a note for you: **" + noteTitle(topic) + "**.",
                      artifactMeta(turn, "artifact", {{"artifact_type", "note"}, {"name", noteTitle(topic)}}));
    } else if (type == "document") {
        script.step("generate_document", {{"args", {{"title", "Brief"}}}}, "Creating the document",
                    "Created a document");
        script.answer("The brief is ready.",
                      artifactMeta(turn, "document", {{"url", turn.artifactUrl}, {"name", "Brief.md"}}));
    } else {
        script.step("generate_image", {{"args", {{"prompt", topic}}}}, "Creating the image", "Created an image");
        script.answer("Here is the image.",
                      artifactMeta(turn, "image", {{"url", turn.artifactUrl}, {"name", "Concept.svg"}}));
    }
}

} // namespace

std::optional<std::string> requestedArtifact(const std::string& text)
{
    const std::string t = lowerAscii(text);
    for (const char* type : {"table", "note", "document", "image"})
        if (t.find(type) != std::string::npos)
            return std::string(type);
    return std::nullopt;
}

TurnKind classifyTurn(const std::string& text)
{
    const std::string t = lowerAscii(text);
    if (mentions(t, {"approve", "approval"}))
        return TurnKind::approval;
    if (mentions(t, {"goal"}))
        return TurnKind::goal;
    if (mentions(t, {"long step"}))
        return TurnKind::longStep;
    if (mentions(t, {"fail"}))
        return TurnKind::failure;
    if (requestedArtifact(t))
        return TurnKind::artifact;
    if (mentions(t, {"options", "choose"}))
        return TurnKind::options;
    if (mentions(t, {"research", "find", "compare"}))
        return TurnKind::research;
    return TurnKind::plain;
}

std::vector<TurnAction> planTurn(const TurnContext& turn)
{
    Script script(turn);
    const std::string topic = turnTopic(turn.text);
    switch (classifyTurn(turn.text)) {
    case TurnKind::approval:
        script.step("draft_email", {{"args", {{"subject", topic}}}}, "Preparing the outreach email",
                    "Prepared the outreach email");
        script.answer("I drafted the outreach email to 3 contacts. Shall I send it?",
                      {{"kind", "approval_request"},
                       {"status", "pending"},
                       {"action", "send_email"},
                       {"title", "Send the outreach email"},
                       {"turn_text", turn.text}});
        return script.take(); // the turn goes on once the approval is resolved
    case TurnKind::goal:
        script.useGoalSteps();
        script.step("web_search", {{"args", {{"query", topic}}}}, "Searching the web: " + topic,
                    "Searching the web: " + topic);
        script.step("browser_navigate", {{"args", {{"url", kSources[1][2]}}}},
                    std::string("Browsing: ") + kSources[1][2], std::string("Browsing: ") + kSources[1][2]);
        script.answer("The first result for the goal is ready for your review: 3 qualified leads that match “" + topic
                          + "”.",
                      {}, true);
        break;
    case TurnKind::longStep:
        script.step("browser_navigate", {{"args", {{"url", kSources[0][2]}}}}, "Opening " + std::string(kSources[0][2]),
                    utf8Prefix(pageExtract(topic), 240) + "…", pageExtract(topic));
        script.answer("I read the whole page; the full extract is in the step above.");
        break;
    case TurnKind::failure:
        script.failedStep("web_search", {{"args", {{"query", topic}}}}, "Searching the web: " + topic,
                          "The search service answered 503 — try again in a minute.");
        script.answer("I couldn't finish this: the search service did not answer. Ask me again in a minute.");
        break;
    case TurnKind::artifact:
        planArtifact(script, turn, *requestedArtifact(turn.text), topic);
        break;
    case TurnKind::options:
        script.answer("Here are three ways to go on. Which one should I take?\n\nOPTIONS: Short summary | Detailed "
                      "report | Slide outline");
        break;
    case TurnKind::research:
        script.handOff();
        script.together([&] {
            script.step("web_search", {{"args", {{"query", topic}}}}, "Searching the web: " + topic,
                        "Searched the web: " + topic);
            script.step("browser_navigate", {{"args", {{"url", kSources[0][2]}}}},
                        std::string("Opening ") + kSources[0][2], std::string("Opened ") + kSources[0][2]);
            script.step("browser_navigate", {{"args", {{"url", kSources[1][2]}}}},
                        std::string("Opening ") + kSources[1][2], std::string("Opened ") + kSources[1][2]);
        });
        script.answer(researchReport(topic));
        break;
    case TurnKind::plain:
        script.handOff();
        script.step("check_context", {}, "Checking what I know about this", "Checked what I know about this");
        script.answer("**Got it.** Here's my take on “" + topic
                      + "”:\n\n- I can start right away.\n- "
                        "I'll keep you posted in this chat.\n\nTell me if you want me to go deeper.");
        break;
    }
    script.usage();
    return script.take();
}

std::vector<TurnAction> planAfterApproval(const TurnContext& turn, bool approved)
{
    Script script(turn);
    if (approved) {
        script.step("send_email", {{"args", {{"to", "3 contacts"}}}}, "Sending the outreach email",
                    "Sent the outreach email to 3 contacts");
        script.answer("Done — the email went out to 3 contacts.");
    } else {
        script.answer("Understood — I won't send it. Tell me what to change.");
    }
    script.usage();
    return script.take();
}

std::string turnTopic(const std::string& text)
{
    const std::string t = trim(text);
    const std::string cut = utf8Prefix(t, 80);
    return cut.empty() ? std::string("your request") : cut.size() < t.size() ? cut + "…" : cut;
}

std::string noteTitle(const std::string& topic) { return "Notes on " + topic; }

std::string noteText(const std::string& topic)
{
    return "## " + noteTitle(topic) + "\n\n- What was asked: " + topic
        + "\n- Open question: who signs off on the budget\n- Next check-in: Friday\n";
}

NewTable leadsTable()
{
    NewTable t;
    t.name = "Leads";
    t.description = "Qualified leads found in this chat";
    t.columns = json::array({{{"id", "company"}, {"name", "Company"}, {"type", "text"}},
                             {{"id", "contact"}, {"name", "Contact"}, {"type", "text"}},
                             {{"id", "score"}, {"name", "Score"}, {"type", "number"}}});
    for (int i = 1; i <= kLeadsTableRows; ++i)
        t.rows.push_back({{"company", "Company " + std::to_string(i)},
                          {"contact", "lead" + std::to_string(i) + "@example.com"},
                          {"score", 100 - i}});
    return t;
}

std::string documentText(const std::string& topic)
{
    return "# Brief\n\n## Topic\n\n" + topic + "\n\n## Next steps\n\n1. Confirm the audience\n2. Draft the outline\n";
}

std::string imageSvg(const std::string& topic)
{
    std::string label;
    for (unsigned char c : topic)
        label += std::isalnum(c) || c == ' ' ? char(c) : ' ';
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"320\" height=\"200\"><rect width=\"320\" height=\"200\" "
           "fill=\"#3b5bdb\"/><text x=\"16\" y=\"104\" fill=\"#fff\" font-size=\"16\">"
        + label.substr(0, 30) + "</text></svg>";
}

} // namespace service
