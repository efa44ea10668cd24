// Chat history, sending a turn, files, step expansion and read marks, for employee chats and
// the team (orchestrator) conversation.
#include "Routes.h"

#include "auth/Sessions.h"
#include "billing/Charges.h"
#include "chat/ChatAccess.h"
#include "chat/ChatFiles.h"
#include "chat/ChatRouteGroups.h"
#include "chat/ChatRuntime.h"
#include "chat/MessageStore.h"
#include "chat/TurnRunner.h"
#include "core/Http.h"
#include "core/Utf8.h"
#include "governance/Freeze.h"
#include "memory/FactLearning.h"
#include "teams/TeamStore.h"

#include <fstream>
#include <sstream>

namespace service {

namespace {

constexpr const char* kAgentChat = R"(/api/v2/custom-agents/([A-Za-z0-9_-]+)/chat)";
constexpr const char* kTeamChat = R"(/api/v2/orchestrator-chat/([A-Za-z0-9_-]+))";
constexpr size_t kMaxTurnText = 20000;
constexpr size_t kMaxTurnAttachments = 10;

// The attachments a turn carries, as the user message keeps them, or why they are unusable.
std::variant<json, std::string> readAttachments(const json& body)
{
    json out = json::array();
    if (!body.contains("attachments"))
        return out;
    const json& list = body["attachments"];
    if (!list.is_array())
        return std::string("Invalid attachments: expected an array");
    if (list.size() > kMaxTurnAttachments)
        return std::string("Too many attachments: at most 10 per message");
    for (const auto& a : list) {
        if (!a.is_object() || !a.contains("name") || !a["name"].is_string())
            return std::string("Invalid attachment: every attachment needs a name");
        json kept{{"name", safeFileName(a["name"].get<std::string>())}};
        for (const char* key : {"url", "kind", "mime", "text"})
            if (a.contains(key) && a[key].is_string())
                kept[key] = a[key];
        if (a.contains("size") && a["size"].is_number())
            kept["size"] = a["size"];
        if (!kept.contains("kind"))
            kept["kind"] = "text";
        out.push_back(std::move(kept));
    }
    return out;
}

// A frozen employee keeps the message and says at once how to resume it; nothing runs or spends.
void answerFrozen(Service& s, const ChatTarget& target, NewMessage user, const std::string& notice, json answer,
                  httplib::Response& res)
{
    json stored, reply;
    s.db->transaction([&] {
        stored = insertMessage(*s.db, target.chatKey, user);
        reply = insertMessage(*s.db, target.chatKey, {"assistant", notice, {{"frozen", true}}});
    });
    publishMessage(s, target.chatKey, stored, true);
    publishMessage(s, target.chatKey, reply, true);
    answer["message"] = stored;
    sendJson(res, answer);
}

void sendTurn(Service& s, const ChatTarget& target, const httplib::Request& req, httplib::Response& res)
{
    auto body = parseBody(req, res);
    if (!body)
        return;
    if (body->contains("text") && !(*body)["text"].is_string())
        return sendError(res, 400, "Invalid text: expected a string");
    const std::string text = trim(str(*body, "text"));
    if (text.size() > kMaxTurnText)
        return sendError(res, 413, "Message is too long: at most 20000 characters");
    const auto attachments = readAttachments(*body);
    if (const auto* problem = std::get_if<std::string>(&attachments))
        return sendError(res, 400, *problem);
    const json& files = std::get<json>(attachments);
    if (text.empty() && files.empty())
        return sendError(res, 400, "Message is empty: send text or attachments");
    const std::string requestId = str(*body, "client_request_id");

    json answer{{"status", "accepted"}, {"conversation_id", conversationId(target.chatKey)}};
    if (!requestId.empty())
        answer["client_request_id"] = requestId;
    // A retried send (the first answer was lost) gets the stored turn back and runs nothing twice.
    if (const auto earlier = findByClientRequest(*s.db, target.chatKey, requestId)) {
        answer["status"] = "duplicate";
        answer["message"] = *earlier;
        return sendJson(res, answer);
    }
    NewMessage user;
    user.role = "user";
    user.content = text;
    user.read = true;
    if (!requestId.empty())
        user.metadata["client_request_id"] = requestId;
    if (!files.empty())
        user.metadata["attachments"] = files;
    if (const auto notice = frozenNotice(s, target.userId, target.chatKey))
        return answerFrozen(s, target, user, *notice, answer, res);
    // Refused before anything is stored: the client keeps the text for after a top-up.
    if (const auto missing = billing::turnShortfall(s, target.userId))
        return sendJson(res,
                        {{"error", billing::kNotEnoughTokens},
                         {"required_usd", missing->requiredUsd},
                         {"available_usd", missing->availableUsd}},
                        402);
    json stored;
    s.db->transaction([&] { stored = insertMessage(*s.db, target.chatKey, user); });
    learnFromUserMessage(s, target, text);
    publishMessage(s, target.chatKey, stored, true);
    startTurn(s, target, text);
    answer["message"] = stored;
    sendJson(res, answer);
}

void history(Service& s, const ChatTarget& target, const httplib::Request& req, httplib::Response& res, json into)
{
    const auto query = readHistoryQuery(req);
    if (const auto* problem = std::get_if<std::string>(&query))
        return sendError(res, 400, *problem);
    const json page = historyAnswer(*s.db, target.chatKey, std::get<HistoryQuery>(query));
    for (const auto& [key, value] : page.items())
        into[key] = value;
    sendJson(res, into);
}

void uploadFiles(Service& s, const ChatTarget& target, const httplib::Request& req, httplib::Response& res)
{
    if (!req.is_multipart_form_data())
        return sendError(res, 400, "Expected a multipart upload");
    if (!requestTextValid(req))
        return sendError(res, 400, kInvalidUtf8);
    std::vector<const httplib::MultipartFormData*> parts;
    for (const auto& [field, part] : req.files)
        if (!part.filename.empty() || field == "file")
            parts.push_back(&part);
    if (parts.empty())
        return sendError(res, 400, "No files in the upload");
    if (parts.size() > kMaxChatFilesPerUpload)
        return sendError(res, 413, "Too many files: at most 10 per upload");
    json files = json::array();
    for (const auto* part : parts)
        files.push_back(
            storeChatFile(s, target.userId, target.chatKey, part->filename, part->content_type, part->content));
    sendJson(res, {{"files", files}});
}

void serveChatFile(Service& s, const httplib::Request& req, httplib::Response& res)
{
    const auto user = requireUser(s, req, res);
    if (!user)
        return;
    const auto file = findChatFile(s, userId(*user), req.matches[1]);
    if (!file)
        return sendError(res, 404, "File not found");
    std::ifstream in(file->path, std::ios::binary);
    if (!in)
        return sendError(res, 410, "The file is no longer stored");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    sendFile(res, bytes.str(), file->mime, file->name);
}

} // namespace

void addChatRoutes(httplib::Server& svr, Service& s)
{
    chatRuntime(s);

    svr.Get(kAgentChat, [&](const httplib::Request& req, httplib::Response& res) {
        withAgentChat(s, req, res, [&](const ChatTarget& t) { history(s, t, req, res, json::object()); });
    });
    svr.Post(kAgentChat, [&](const httplib::Request& req, httplib::Response& res) {
        withAgentChat(s, req, res, [&](const ChatTarget& t) { sendTurn(s, t, req, res); });
    });
    svr.Post(std::string(kAgentChat) + "/files", [&](const httplib::Request& req, httplib::Response& res) {
        withAgentChat(s, req, res, [&](const ChatTarget& t) { uploadFiles(s, t, req, res); });
    });
    svr.Get(std::string(kAgentChat) + R"(/step/(\d{1,18}))", [&](const httplib::Request& req, httplib::Response& res) {
        withAgentChat(s, req, res, [&](const ChatTarget& t) {
            const auto step = findMessage(*s.db, t.chatKey, std::stoll(req.matches[2]), true);
            if (!step || step->value("role", std::string()) != "step")
                return sendError(res, 404, "Step not found");
            sendJson(res, *step);
        });
    });
    svr.Post(std::string(kAgentChat) + "/read", [&](const httplib::Request& req, httplib::Response& res) {
        withAgentChat(s, req, res, [&](const ChatTarget& t) {
            markChatRead(*s.db, t.chatKey);
            sendJson(res, {{"ok", true}});
        });
    });

    // The team conversation: the settings half comes from the team store.
    svr.Get(kTeamChat, [&](const httplib::Request& req, httplib::Response& res) {
        withTeamChat(s, req, res, [&](const ChatTarget& t) {
            const auto team = findTeam(s, t.userId, t.id);
            history(s, t, req, res, team ? teamConversationSettings(s, t.userId, *team) : json::object());
        });
    });
    svr.Post(kTeamChat, [&](const httplib::Request& req, httplib::Response& res) {
        withTeamChat(s, req, res, [&](const ChatTarget& t) { sendTurn(s, t, req, res); });
    });
    svr.Post(std::string(kTeamChat) + "/read", [&](const httplib::Request& req, httplib::Response& res) {
        withTeamChat(s, req, res, [&](const ChatTarget& t) {
            markChatRead(*s.db, t.chatKey);
            sendJson(res, {{"ok", true}});
        });
    });

    svr.Get(R"(/api/v2/chat-files/([A-Za-z0-9]{1,64}))",
            [&](const httplib::Request& req, httplib::Response& res) { serveChatFile(s, req, res); });

    addApprovalRoutes(svr, s);
    addArtifactRoutes(svr, s);
    addGoalRoutes(svr, s);
    addSuggestionRoutes(svr, s);
}

} // namespace service
