// Deciding an approval request an employee raised in a chat; the paused turn then goes on.
#include "chat/ChatAccess.h"
#include "chat/ChatRouteGroups.h"
#include "chat/MessageStore.h"
#include "chat/TurnRunner.h"

namespace service {

namespace {

bool isApprovalKind(const std::string& kind)
{
    return kind == "approval_request" || kind == "self_edit_proposal" || kind == "orchestrator_propose_worker";
}

void resolve(Service& s, const ChatTarget& target, long long messageId, bool approved, httplib::Response& res)
{
    std::optional<json> updated;
    std::string problem;
    int status = 200;
    s.db->transaction([&] {
        const auto message = findMessage(*s.db, target.chatKey, messageId);
        const json meta = message ? message->value("metadata", json::object()) : json::object();
        if (!message || !isApprovalKind(meta.value("kind", std::string()))) {
            status = 404;
            problem = "Approval not found";
            return;
        }
        const std::string current = meta.value("status", std::string());
        if (!current.empty() && current != "pending") {
            status = 409;
            problem = "This approval was already resolved (" + current + ")";
            return;
        }
        json next = meta;
        next["status"] = approved ? "approved" : "rejected";
        next["resolved_at"] = nowIso();
        updated = updateMessage(*s.db, messageId, message->value("content", std::string()), next);
    });
    if (!updated)
        return sendError(res, status, problem);
    publishMessage(s, target.chatKey, *updated, false);
    continueAfterApproval(s, target, *updated, approved);
    sendJson(res, {{"status", approved ? "approved" : "rejected"}, {"decision", approved ? "accept" : "reject"}});
}

} // namespace

void addApprovalRoutes(httplib::Server& svr, Service& s)
{
    svr.Post(R"(/api/v2/custom-agents/([A-Za-z0-9_-]+)/proposals/(\d{1,18}))",
             [&](const httplib::Request& req, httplib::Response& res) {
                 auto body = parseBody(req, res);
                 if (!body)
                     return;
                 const std::string action = str(*body, "action");
                 if (action != "accept" && action != "reject")
                     return sendError(res, 400, "Invalid action: expected accept or reject");
                 withAgentChat(s, req, res, [&](const ChatTarget& t) {
                     resolve(s, t, std::stoll(req.matches[2]), action == "accept", res);
                 });
             });
    svr.Post(R"(/api/v2/orchestrator-chat/([A-Za-z0-9_-]+)/approve)",
             [&](const httplib::Request& req, httplib::Response& res) {
                 auto body = parseBody(req, res);
                 if (!body)
                     return;
                 const std::string decision = str(*body, "decision");
                 if (decision != "approve" && decision != "reject")
                     return sendError(res, 400, "Invalid decision: expected approve or reject");
                 const auto id = body->find("approval_id");
                 if (id == body->end() || !id->is_number_integer())
                     return sendError(res, 400, "Invalid approval_id: expected a number");
                 withTeamChat(s, req, res, [&](const ChatTarget& t) {
                     resolve(s, t, id->get<long long>(), decision == "approve", res);
                 });
             });
}

} // namespace service
