// Suggested next prompts of a chat, keyed by the newest message so an unchanged chat costs nothing.
#include "chat/ChatAccess.h"
#include "chat/ChatRouteGroups.h"

namespace service {

namespace {

json suggestionsFor(const ChatTarget& t, const std::string& lastAnswer)
{
    json out = lastAnswer.find("Sources:") != std::string::npos
        ? json{"Compare the top two on price", "Draft an outreach email to Northwind",
               "Summarise this in three bullets", "Find two more alternatives"}
        : json{"Research the top three competitors", "Make a table of the leads", "Give me options for the next step",
               "Set a goal for this week"};
    if (t.team && !t.memberHandles.empty())
        out.push_back("Ask @" + t.memberHandles.front() + " to take the next part");
    return out;
}

} // namespace

void addSuggestionRoutes(httplib::Server& svr, Service& s)
{
    onBothScopes(svr, s, Verb::post, "/goals/suggestions",
                 [&](const ChatTarget& t, const httplib::Request& req, httplib::Response& res) {
                     auto body = parseBody(req, res);
                     if (!body)
                         return;
                     const auto newest
                         = s.db->query("SELECT coalesce(max(id), 0) FROM messages WHERE agent_id = ?", {t.chatKey});
                     const std::string hash = "ctx-" + std::to_string(integer(newest.at(0)[0]));
                     if (str(*body, "known_context_hash") == hash)
                         return sendJson(res, {{"unchanged", true}, {"context_hash", hash}});
                     const auto last = s.db->query(
                         "SELECT content FROM messages WHERE agent_id = ? AND role = 'assistant' AND content != '' "
                         "ORDER BY id DESC LIMIT 1",
                         {t.chatKey});
                     sendJson(res,
                              {{"chat_suggestions", suggestionsFor(t, last.empty() ? std::string() : text(last[0][0]))},
                               {"context_hash", hash},
                               {"unchanged", false}});
                 });
}

} // namespace service
