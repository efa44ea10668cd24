#pragma once
// Signed in and the chat exists, or the answer (401 or 404) is already sent.
#include "auth/Sessions.h"
#include "chat/ChatTarget.h"

namespace service {

template <typename F>
void withAgentChat(Service& s, const httplib::Request& req, httplib::Response& res, F&& body)
{
    const auto user = requireUser(s, req, res);
    if (!user)
        return;
    const auto target = agentChat(s, userId(*user), req.matches[1]);
    if (!target)
        return sendError(res, 404, "Agent not found");
    body(*target);
}

template <typename F>
void withTeamChat(Service& s, const httplib::Request& req, httplib::Response& res, F&& body)
{
    const auto user = requireUser(s, req, res);
    if (!user)
        return;
    const auto target = teamChat(s, userId(*user), req.matches[1]);
    if (!target)
        return sendError(res, 404, "Team not found");
    body(*target);
}

using ChatHandler = std::function<void(const ChatTarget&, const httplib::Request&, httplib::Response&)>;
enum class Verb { get, post, put };

// Registers `suffix` under both goal bases: "/api/v2/custom-agents/<id>" and "/api/v2/teams/<slug>".
inline void onBothScopes(httplib::Server& svr, Service& s, Verb verb, const std::string& suffix, ChatHandler handler)
{
    auto add = [&](const std::string& pattern, bool team) {
        auto route = [&s, handler, team](const httplib::Request& req, httplib::Response& res) {
            auto call = [&](const ChatTarget& t) { handler(t, req, res); };
            if (team)
                withTeamChat(s, req, res, call);
            else
                withAgentChat(s, req, res, call);
        };
        if (verb == Verb::get)
            svr.Get(pattern, route);
        else if (verb == Verb::post)
            svr.Post(pattern, route);
        else
            svr.Put(pattern, route);
    };
    add(R"(/api/v2/custom-agents/([A-Za-z0-9_-]+))" + suffix, false);
    add(R"(/api/v2/teams/([A-Za-z0-9_-]+))" + suffix, true);
}

} // namespace service
