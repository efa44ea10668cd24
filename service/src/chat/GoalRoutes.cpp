// Goals from a chat: the list, the guided setup, the simple first goal and the review of a result.
#include "Crypto.h"
#include "chat/ChatAccess.h"
#include "chat/ChatRouteGroups.h"
#include "chat/ChatRuntime.h"
#include "chat/GoalStore.h"
#include "chat/MessageStore.h"
#include "chat/TurnRunner.h"

#include <algorithm>

namespace service {

namespace {

bool hasDigit(const std::string& s) { return std::any_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); }); }

json question(const std::string& requestId)
{
    return {{"status", "clarification_required"}, {"request_id", requestId},
            {"question", "How many results should count as done?"}, {"options", {"1", "5", "10"}},
            {"step", 1}, {"total_steps", 1}};
}

json started(const std::string& requestId, const json& goal)
{
    return {{"status", "started"}, {"request_id", requestId},
            {"goal", {{"id", goal["id"]}, {"objective", goal["objective"]}}}};
}

// Runs the setup's last step: the goal is created once, a repeated answer or resume gets the same one.
json finishSetup(Service& s, const std::string& requestId, GoalSetup setup, const std::string& target)
{
    if (!setup.startedGoal) {
        json fields{{"objective", setup.objective}};
        if (!target.empty() && hasDigit(target)) fields["target"] = std::max(1, std::atoi(target.c_str()));
        s.db->transaction([&] { setup.startedGoal = createGoal(*s.db, setup.userId, setup.scope, fields); });
        chatRuntime(s).goalSetups.put(requestId, setup);
    }
    return started(requestId, *setup.startedGoal);
}

std::optional<GoalSetup> setupFor(Service& s, const ChatTarget& t, const std::string& requestId, httplib::Response& res)
{
    auto setup = chatRuntime(s).goalSetups.find(requestId);
    if (!setup || setup->userId != t.userId || setup->scope != t.scope()) {
        sendError(res, 404, "Goal setup not found");
        return std::nullopt;
    }
    return setup;
}

void review(Service& s, const ChatTarget& t, const httplib::Request& req, httplib::Response& res)
{
    auto body = parseBody(req, res);
    if (!body) return;
    std::optional<long long> version;
    if (body->contains("expected_goal_version") && (*body)["expected_goal_version"].is_number_integer())
        version = (*body)["expected_goal_version"].get<long long>();
    const GoalRun run{req.matches[2], req.matches[3]};
    ReviewOutcome outcome;
    s.db->transaction([&] {
        outcome = reviewRun(*s.db, t.userId, t.scope(), run, str(*body, "decision"), str(*body, "feedback"), version);
    });
    if (outcome.status != 200) return sendError(res, outcome.status, outcome.error);
    const bool accepted = str(*body, "decision") == "accept";
    NewMessage reply;
    reply.role = "assistant";
    reply.content = accepted ? "Thanks — I'll count this result toward the goal."
                             : "I'll revise the result: " + trim(str(*body, "feedback"));
    reply.metadata = {{"goal_run_id", run.runId}, {"goal_id", run.goalId}};
    json stored;
    s.db->transaction([&] { stored = insertMessage(*s.db, t.chatKey, reply); });
    publishMessage(s, t.chatKey, stored, true);
    sendJson(res, {{"ok", true}, {"goal", outcome.goal}});
}

} // namespace

void addGoalRoutes(httplib::Server& svr, Service& s)
{
    onBothScopes(svr, s, Verb::get, "/goals", [&](const ChatTarget& t, const httplib::Request& req, httplib::Response& res) {
        int limit = 50;
        if (req.has_param("limit")) {
            limit = std::atoi(req.get_param_value("limit").c_str());
            if (limit <= 0) return sendError(res, 400, "Invalid limit: expected a positive whole number");
            limit = std::min(limit, 200);
        }
        sendJson(res, {{"goals", listGoals(*s.db, t.userId, t.scope(), limit)}});
    });

    onBothScopes(svr, s, Verb::post, "/goals/auto-start", [&](const ChatTarget& t, const httplib::Request& req, httplib::Response& res) {
        auto body = parseBody(req, res);
        if (!body) return;
        const std::string objective = trim(str(*body, "objective"));
        if (objective.empty()) return sendError(res, 400, "Describe the goal first");
        const std::string requestId = "gs-" + randomHex(6);
        GoalSetup setup{t.userId, t.scope(), objective, std::nullopt};
        chatRuntime(s).goalSetups.put(requestId, setup);
        // An objective without a number leaves the bar open: ask for it.
        if (!hasDigit(objective)) return sendJson(res, question(requestId));
        sendJson(res, finishSetup(s, requestId, setup, objective));
    });

    onBothScopes(svr, s, Verb::post, R"(/goals/auto-start/([A-Za-z0-9_-]+)/answer)",
                 [&](const ChatTarget& t, const httplib::Request& req, httplib::Response& res) {
                     auto body = parseBody(req, res);
                     if (!body) return;
                     const std::string answer = trim(str(*body, "answer"));
                     if (answer.empty()) return sendError(res, 400, "Answer the question first");
                     const std::string requestId = req.matches[2];
                     if (auto setup = setupFor(s, t, requestId, res)) sendJson(res, finishSetup(s, requestId, *setup, answer));
                 });

    onBothScopes(svr, s, Verb::post, R"(/goals/auto-start/([A-Za-z0-9_-]+)/resume)",
                 [&](const ChatTarget& t, const httplib::Request& req, httplib::Response& res) {
                     const std::string requestId = req.matches[2];
                     auto setup = setupFor(s, t, requestId, res);
                     if (!setup) return;
                     if (setup->startedGoal) return sendJson(res, started(requestId, *setup->startedGoal));
                     if (!hasDigit(setup->objective)) return sendJson(res, question(requestId));
                     sendJson(res, finishSetup(s, requestId, *setup, setup->objective));
                 });

    onBothScopes(svr, s, Verb::put, "/goal", [&](const ChatTarget& t, const httplib::Request& req, httplib::Response& res) {
        auto body = parseBody(req, res);
        if (!body) return;
        if (trim(str(*body, "objective")).empty()) return sendError(res, 400, "Describe the goal first");
        json fields = *body;
        fields["objective"] = trim(str(*body, "objective"));
        json goal;
        s.db->transaction([&] { goal = createGoal(*s.db, t.userId, t.scope(), fields); });
        sendJson(res, {{"ok", true}, {"goal", goal}});
    });

    onBothScopes(svr, s, Verb::post, R"(/goals/([A-Za-z0-9_-]+)/runs/([A-Za-z0-9_-]+)/review)",
                 [&](const ChatTarget& t, const httplib::Request& req, httplib::Response& res) { review(s, t, req, res); });
}

} // namespace service
