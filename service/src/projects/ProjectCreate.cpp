#include "projects/ProjectCreate.h"

#include "core/Crypto.h"
#include "core/Refusable.h"
#include "core/Slug.h"
#include "core/Utf8.h"
#include "intake/IntakeEvidence.h"
#include "projects/ProjectOverview.h"
#include "projects/ProjectStore.h"

namespace service {

namespace {

// What the intake read from the website becomes the project's first pinned knowledge note.
void keepSiteEvidence(Service& s, const std::string& projectId, const intake::IntakeSource& source)
{
    std::string facts;
    for (const auto& fact : source.facts)
        facts += (facts.empty() ? "- " : "\n- ") + fact;
    std::string body = source.digest;
    if (!facts.empty())
        body += (body.empty() ? "" : "\n\n") + facts;
    if (!source.canonicalUrl.empty())
        body += "\n\nRead from " + source.canonicalUrl;
    const std::string now = nowIso();
    s.db->execute("INSERT INTO project_knowledge_notes (id, project_id, title, body, author_kind, author_name, pinned, "
                  "tags, created_at, updated_at) VALUES (?, ?, ?, ?, 'intake', 'Project intake', 1, ?, ?, ?)",
                  {"kn-" + randomHex(6), projectId, "What the website says", utf8Prefix(body, 8000),
                   json::array({"website"}).dump(), now, now});
}

} // namespace

void createProject(Service& s, long long uid, const json& body, httplib::Response& res)
{
    for (const char* key : {"label", "creation_request_id"})
        if (body.contains(key) && !body[key].is_string() && !body[key].is_null())
            return sendError(res, 400, std::string(key) + " must be a text");
    if (body.contains("site_evidence") && !body["site_evidence"].is_object() && !body["site_evidence"].is_null())
        return sendError(res, 400, "site_evidence must be an object");
    const std::string label = trim(str(body, "label"));
    if (label.empty())
        return sendError(res, 400, "Give the project a name — it becomes its address and its label in every chat.");
    if (label.size() > 200)
        return sendError(res, 400, "The project name is too long.");
    // "group" names the sidebar's own section in the app, so no project may take it.
    if (!projectSlug(label))
        return sendError(res, 400, "“group” is a reserved address — add a word to the name.");
    const CreateBrief brief = briefFromCreateBody(body);
    if (!brief.refusal.empty())
        return sendError(res, 400, brief.refusal);
    const std::string requestId = utf8Prefix(trim(str(body, "creation_request_id")), 200);
    const json evidenceSent = body.value("site_evidence", json::object());
    const auto evidence
        = evidenceSent.is_object() ? intake::findEvidence(s, uid, str(evidenceSent, "token")) : std::nullopt;
    std::string projectId;
    bool repeated = false;
    const auto problem = refusableTransaction(*s.db, [&]() -> std::optional<std::string> {
        if (!requestId.empty()) {
            const auto rows = s.db->query("SELECT id FROM projects WHERE user_id = ? AND creation_request_id = ?",
                                          {uid, requestId});
            // A create sent again (a retry after a lost answer) finds the project it made.
            if (!rows.empty()) {
                projectId = text(rows[0][0]);
                repeated = true;
                return std::nullopt;
            }
        }
        const std::string slug = uniqueProjectSlug(s, uid, label);
        if (slug.empty())
            return std::string("This name has no letters or digits to build an address from — add a word to it.");
        projectId = "p-" + randomHex(8);
        const bool hasOverview = body.contains("overview") && body["overview"].is_object();
        s.db->execute(
            "INSERT INTO projects (id, user_id, slug, label, brief, creation_request_id, overview, created_at) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
            {projectId, uid, slug, label, brief.text, requestId.empty() ? SqlValue(nullptr) : SqlValue(requestId),
             hasOverview ? SqlValue(body["overview"].dump()) : SqlValue(nullptr), nowIso()});
        logProjectEvent(s, projectId, "project_created", "You", "Created the project " + label);
        if (evidence)
            keepSiteEvidence(s, projectId, *evidence);
        return std::nullopt;
    });
    if (problem)
        return sendError(res, 400, *problem);
    sendJson(res, {{"ok", true}, {"project", projectJson(s, projectId)}}, repeated ? 200 : 201);
}

} // namespace service
