// Employee, worker and team generation, and revisions of a worker draft: a start keyed by the
// app's "generation_session_id" (answered with it as "job_id"), then polls
// of the job until it is due (see GenerationJobs.h: the third poll, or ten seconds on the
// service clock, which tests move with POST /__test/clock).
//
// Phrases in the brief (any letter case) pick how the job goes, so every branch of the app's
// poll loop can be seen on purpose:
//   "fail loudly"      the job fails with the service's own message
//   "fail quietly"     the job fails with no message (the app shows its default)
//   "abort the job"    the job ends "aborted", with a message
//   "vanish for good"  the job is never found: every poll answers 404
//   "vanish briefly"   the first three polls answer 404, then the job runs as usual
//   "stall forever"    the job stays "pending" however long it is polled
//   "empty result"     the job completes without a draft
//   "garbled draft"    the job completes with a draft of no known mode and an error
//   "right away"       the start answers with the draft itself; nothing needs polling
//   "no questions"     the first round skips the clarify questions
//   "channel only"     the first round asks only the delivery question, which the app answers itself
// A first round otherwise asks clarify questions; an answered or skipped round (round 2 on, or
// forceReady) gives the ready draft. A job can be aborted: its polls then answer "aborted".
// Revisions read the same phrases from the instruction (see Revision.h for what they change).
#include "Routes.h"

#include "agents/AgentStore.h"
#include "auth/Sessions.h"
#include "core/Http.h"
#include "core/JsonFields.h"
#include "generation/Drafts.h"
#include "generation/GenerationJobs.h"
#include "generation/Revision.h"

#include <variant>

namespace service {

namespace {

using namespace generation;

constexpr size_t kMaxBody = 256 * 1024;
constexpr size_t kMaxBrief = 8000;
constexpr size_t kMaxClarifications = 50;
// A draft carries a playbook, prompts and knowledge: far below this.
constexpr size_t kMaxRevisionBody = 512 * 1024;

bool validSessionId(const std::string& id)
{
    if (id.empty() || id.size() > 100)
        return false;
    for (unsigned char c : id)
        if (!std::isalnum(c) && c != '-' && c != '_')
            return false;
    return true;
}

std::optional<std::string> clarificationsProblem(const json& list)
{
    if (!list.is_array())
        return std::string("clarifications must be a list");
    if (list.size() > kMaxClarifications)
        return std::string("Too many clarifications (50 at most)");
    for (const auto& c : list) {
        bool ok = c.is_object();
        for (const char* key : {"key", "question", "answer"})
            ok = ok && c.contains(key) && c[key].is_string() && c[key].get<std::string>().size() <= 4000;
        if (!ok)
            return std::string("Every clarification needs a key, a question and an answer, each a text");
    }
    return std::nullopt;
}

struct Start {
    DraftRequest request;
    std::string sessionId;
};

std::variant<Start, std::string> readStart(const json& body, bool team)
{
    Start start;
    DraftRequest& r = start.request;
    r.team = team;
    if (body.contains("description") && !body["description"].is_string())
        return std::string("description must be a text");
    const std::string brief = trim(str(body, "description"));
    if (brief.empty())
        return std::string(team ? "Describe the team in a sentence or two."
                                : "Describe the employee in a sentence or two.");
    if (brief.size() > kMaxBrief)
        return std::string("The description is too long (8000 characters at most).");
    if (!team && body.contains("agent_type")) {
        const std::string type = str(body, "agent_type");
        if (type != "employee" && type != "worker")
            return std::string("agent_type must be \"employee\" or \"worker\"");
        r.worker = type == "worker";
    }
    if (body.contains("round")) {
        const auto round = wholeNumber(body["round"]);
        if (!round || *round < 1 || *round > 50)
            return std::string("round must be a whole number from 1 to 50");
        r.round = *round;
    }
    if (body.contains("clarifications") && !body["clarifications"].is_null()) {
        if (auto problem = clarificationsProblem(body["clarifications"]))
            return *problem;
        r.clarifications = body["clarifications"];
    }
    if (body.contains("forceReady")) {
        if (!body["forceReady"].is_boolean())
            return std::string("forceReady must be true or false");
        r.forceReady = body["forceReady"].get<bool>();
    }
    for (const char* key : {"llm_provider", "llm_model"})
        if (body.contains(key) && !body[key].is_string() && !body[key].is_null())
            return std::string(key) + " must be a text";
    start.sessionId = str(body, "generation_session_id");
    if (!validSessionId(start.sessionId))
        return std::string("generation_session_id must be 1 to 100 letters, digits, “-” or “_”");
    r.brief = readBrief(brief);
    return start;
}

void startJob(Service& s, const httplib::Request& req, httplib::Response& res, bool team)
{
    const auto user = requireUser(s, req, res);
    if (!user)
        return;
    const auto body = parseBody(req, res, kMaxBody);
    if (!body)
        return;
    auto read = readStart(*body, team);
    if (const auto* problem = std::get_if<std::string>(&read))
        return sendError(res, 400, *problem);
    const Start& start = std::get<Start>(read);
    const Outcome outcome = start.request.brief.outcome();
    const json draft = buildDraft(start.request);
    saveJob(s, userId(*user), start.sessionId, team ? "team" : "agent", outcome, draft);
    if (outcome == Outcome::draft && start.request.brief.says("right away"))
        return sendJson(res, draft);
    sendJson(res, pendingAnswer(start.sessionId));
}

std::optional<std::string> revisionProblem(const json& body)
{
    if (body.contains("new_instruction") && !body["new_instruction"].is_string())
        return std::string("new_instruction must be a text");
    const std::string instruction = trim(str(body, "new_instruction"));
    if (instruction.empty())
        return std::string("Describe the change in a few words.");
    if (instruction.size() > kMaxBrief)
        return std::string("The change is too long (8000 characters at most).");
    if (!body.contains("current_spec") || !body["current_spec"].is_object())
        return std::string("current_spec must be an object");
    const json& draft = body["current_spec"];
    if (draft.contains("playbook")) {
        if (!draft["playbook"].is_array())
            return std::string("current_spec.playbook must be a list");
        for (const auto& step : draft["playbook"])
            if (!step.is_object())
                return std::string("Every pipeline step must be an object");
    }
    if (body.contains("agent_id") && !body["agent_id"].is_string() && !body["agent_id"].is_null())
        return std::string("agent_id must be a text");
    if (!validSessionId(str(body, "generation_session_id")))
        return std::string("generation_session_id must be 1 to 100 letters, digits, “-” or “_”");
    return std::nullopt;
}

// A revision is a job like a draft: the same phrases steer it, the same poll reveals it.
void startRevision(Service& s, const httplib::Request& req, httplib::Response& res)
{
    const auto user = requireUser(s, req, res);
    if (!user)
        return;
    const auto body = parseBody(req, res, kMaxRevisionBody);
    if (!body)
        return;
    if (const auto problem = revisionProblem(*body))
        return sendError(res, 400, *problem);
    if (const std::string agentId = str(*body, "agent_id"); !agentId.empty() && !findAgent(s, userId(*user), agentId))
        return sendError(res, 404, "Agent not found");
    const std::string instruction = trim(str(*body, "new_instruction"));
    auto revised = reviseDraft((*body)["current_spec"], instruction);
    if (const auto* problem = std::get_if<std::string>(&revised))
        return sendError(res, 400, *problem);
    const Brief brief = readBrief(instruction);
    const std::string sessionId = str(*body, "generation_session_id");
    saveJob(s, userId(*user), sessionId, "revise", brief.outcome(), std::get<json>(revised));
    if (brief.outcome() == Outcome::draft && brief.says("right away"))
        return sendJson(res, std::get<json>(revised));
    sendJson(res, pendingAnswer(sessionId));
}

} // namespace

void addGenerationRoutes(httplib::Server& svr, Service& s)
{
    svr.Post("/api/v2/custom-agents/generate",
             [&](const httplib::Request& req, httplib::Response& res) { startJob(s, req, res, false); });
    svr.Post("/api/v2/custom-agents/generate-team",
             [&](const httplib::Request& req, httplib::Response& res) { startJob(s, req, res, true); });
    svr.Post("/api/v2/custom-agents/revise-draft",
             [&](const httplib::Request& req, httplib::Response& res) { startRevision(s, req, res); });
    svr.Post(R"(/api/v2/custom-agents/jobs/([A-Za-z0-9_-]+)/abort)",
             [&](const httplib::Request& req, httplib::Response& res) {
                 const auto user = requireUser(s, req, res);
                 if (!user)
                     return;
                 if (!abortJob(s, userId(*user), req.matches[1]))
                     return sendError(res, 404, "Generation job not found");
                 sendJson(res, {{"ok", true}});
             });
    svr.Get(R"(/api/v2/custom-agents/jobs/([A-Za-z0-9_-]+))", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        const auto job = pollJob(s, userId(*user), req.matches[1]);
        if (!job)
            return sendError(res, 404, "Generation job not found");
        sendJson(res, *job);
    });
}

} // namespace service
