// Project intake in two stages on one address: "questions" reads the website and asks the open
// decisions; "overview" writes the profile from everything gathered. Nothing is created here.
#include "Routes.h"

#include "auth/Sessions.h"
#include "core/Utf8.h"
#include "intake/IntakeEvidence.h"
#include "intake/IntakeProfile.h"
#include "intake/IntakeQuestions.h"
#include "intake/SiteReader.h"
#include "projects/ProjectOverview.h"

#include <map>

namespace service {

namespace {

using namespace intake;

constexpr size_t kMaxIntakeBody = 256 * 1024;
constexpr size_t kMaxAnswers = 20;
constexpr size_t kMaxAnswerBytes = 2000;

struct IntakeRequest {
    std::string label;
    std::string website;
    std::string description;
};

// The three texts every stage sends, or the refusal.
std::variant<IntakeRequest, std::string> readRequest(const json& body)
{
    for (const char* key : {"label", "website_url", "description"})
        if (body.contains(key) && !body[key].is_string() && !body[key].is_null())
            return std::string(key) + " must be a text";
    IntakeRequest r{trim(str(body, "label")), trim(str(body, "website_url")), trim(str(body, "description"))};
    if (r.label.empty())
        return std::string("Give the project a name — it becomes its address and its label in every chat.");
    if (r.label.size() > 200)
        return std::string("The project name is too long.");
    if (r.website.size() > 2048)
        return std::string("website_url is too long (2048 characters at most)");
    if (utf16Units(r.description) > kMaxDescriptionUnits)
        return std::string(kProfileTooLong);
    if (r.website.empty() && r.description.empty())
        return std::string("Add a website or a short description, or choose Fill manually.");
    return r;
}

std::variant<std::map<std::string, std::string>, std::string> readAnswers(const json& body)
{
    std::map<std::string, std::string> out;
    if (!body.contains("answers") || body["answers"].is_null())
        return out;
    const json& list = body["answers"];
    if (!list.is_array())
        return std::string("answers must be a list of {\"key\", \"answer\"}");
    if (list.size() > kMaxAnswers)
        return std::string("Too many answers (20 at most)");
    for (const auto& a : list) {
        if (!a.is_object() || !a.contains("key") || !a["key"].is_string() || !a.contains("answer")
            || !a["answer"].is_string())
            return std::string("Every answer needs a \"key\" and an \"answer\" text");
        const std::string key = a["key"].get<std::string>();
        if (key.empty() || key.size() > 64 || a["answer"].get<std::string>().size() > kMaxAnswerBytes)
            return std::string("An answer's key or text is too long");
        out[key] = trim(a["answer"].get<std::string>());
    }
    return out;
}

// The website reading, stored under a token when something was read.
IntakeSource readAndKeep(Service& s, long long uid, const std::string& website)
{
    IntakeSource source = readWebsite(s, website);
    if (source.read())
        source.token = storeEvidence(s, uid, source);
    return source;
}

// The evidence the overview rests on: the service's own reading when the token is one it handed
// out; what the client sent back otherwise; a fresh reading when it sent none.
IntakeSource evidenceFor(Service& s, long long uid, const json& sent, const std::string& website)
{
    IntakeSource claimed = sourceFromJson(sent);
    if (auto kept = findEvidence(s, uid, claimed.token))
        return *kept;
    if (claimed.status.empty() && !website.empty())
        return readAndKeep(s, uid, website);
    claimed.token.clear();
    return claimed;
}

void answerIntake(Service& s, long long uid, const json& body, httplib::Response& res)
{
    const std::string stage = str(body, "stage");
    if (stage != "questions" && stage != "overview")
        return sendError(res, 400, "stage must be \"questions\" or \"overview\"");
    const auto request = readRequest(body);
    if (const auto* problem = std::get_if<std::string>(&request))
        return sendError(res, 400, *problem);
    const IntakeRequest& r = std::get<IntakeRequest>(request);

    if (stage == "questions") {
        const IntakeSource source = readAndKeep(s, uid, r.website);
        return sendJson(res,
                        {{"ok", true},
                         {"language", "en"},
                         {"source", source.toJson()},
                         {"questions", intakeQuestions(r.label, r.description, source)}});
    }
    if (body.contains("source") && !body["source"].is_object() && !body["source"].is_null())
        return sendError(res, 400, "source must be an object");
    const auto answers = readAnswers(body);
    if (const auto* problem = std::get_if<std::string>(&answers))
        return sendError(res, 400, *problem);
    const IntakeSource source = evidenceFor(s, uid, body.value("source", json::object()), r.website);
    const ProfileDraft draft
        = writeProfile(r.description, source, std::get<std::map<std::string, std::string>>(answers));
    sendJson(res,
             {{"ok", true},
              {"language", "en"},
              {"overview", draft.overview},
              {"needs_input", draft.needsInput},
              {"source", source.toJson()}});
}

} // namespace

void addIntakeRoutes(httplib::Server& svr, Service& s)
{
    svr.Post("/api/v2/projects/intake", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        const auto body = parseBody(req, res, kMaxIntakeBody);
        if (!body)
            return;
        answerIntake(s, userId(*user), *body, res);
    });
}

} // namespace service
