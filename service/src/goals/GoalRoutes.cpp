// Goals from a chat: the list, the guided setup, the simple first goal and the review of a result.
#include "chat/ChatAccess.h"
#include "chat/ChatRouteGroups.h"
#include "chat/MessageStore.h"
#include "chat/TurnRunner.h"
#include "core/Crypto.h"
#include "goals/GoalSetupStore.h"
#include "goals/GoalStore.h"

#include <algorithm>
#include <variant>

namespace service {

namespace {

bool hasDigit(const std::string& s)
{
    return std::any_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

json question(const std::string& requestId)
{
    return {{"status", "clarification_required"},
            {"request_id", requestId},
            {"question", "How many results should count as done?"},
            {"options", {"1", "5", "10"}},
            {"step", 1},
            {"total_steps", 1}};
}

json started(const std::string& requestId, const json& goal)
{
    return {{"status", "started"},
            {"request_id", requestId},
            {"goal", {{"id", goal["id"]}, {"objective", goal["objective"]}}}};
}

// Runs the setup's last step: the goal is created once, a repeated answer or resume gets the same one.
json finishSetup(Service& s, const std::string& requestId, GoalSetup setup, const std::string& target)
{
    if (!setup.startedGoal) {
        json fields{{"objective", setup.objective}};
        if (!target.empty() && hasDigit(target))
            fields["target"] = std::max(1, std::atoi(target.c_str()));
        s.db->transaction([&] {
            // Two answers racing for one setup: the second finds the goal the first made.
            if (auto current = findGoalSetup(*s.db, requestId); current && current->startedGoal) {
                setup = *current;
                return;
            }
            setup.startedGoal = createGoal(*s.db, setup.userId, setup.scope, fields);
            putGoalSetup(*s.db, requestId, setup);
        });
    }
    return started(requestId, *setup.startedGoal);
}

std::optional<GoalSetup> setupFor(Service& s, const ChatTarget& t, const std::string& requestId, httplib::Response& res)
{
    auto setup = findGoalSetup(*s.db, requestId);
    if (!setup || setup->userId != t.userId || setup->scope != t.scope()) {
        sendError(res, 404, "Goal setup not found");
        return std::nullopt;
    }
    return setup;
}

// The keys a first goal may set, each of the type the goal list answers it with; status, id,
// version and review state stay the service's own.
std::variant<json, std::string> firstGoalFields(const json& body)
{
    static const std::pair<const char*, json::value_t> kKeys[]
        = {{"target", json::value_t::number_float},   {"cadence_minutes", json::value_t::number_float},
           {"unit", json::value_t::string},           {"direction", json::value_t::string},
           {"title", json::value_t::string},          {"definition_of_done", json::value_t::string},
           {"execution_mode", json::value_t::string}, {"metric", json::value_t::object},
           {"limits", json::value_t::object}};
    json fields{{"objective", trim(str(body, "objective"))}};
    for (const auto& [key, type] : kKeys) {
        const auto it = body.find(key);
        if (it == body.end() || it->is_null())
            continue;
        const bool fits = type == json::value_t::number_float ? it->is_number() : it->type() == type;
        if (!fits)
            return std::string("Invalid ") + key + ": expected "
                + (type == json::value_t::number_float ? "a number"
                       : type == json::value_t::string ? "a text"
                                                       : "an object");
        fields[key] = *it;
    }
    return fields;
}

void review(Service& s, const ChatTarget& t, const httplib::Request& req, httplib::Response& res)
{
    auto body = parseBody(req, res);
    if (!body)
        return;
    std::optional<long long> version;
    if (body->contains("expected_goal_version") && (*body)["expected_goal_version"].is_number_integer())
        version = (*body)["expected_goal_version"].get<long long>();
    const GoalRun run{req.matches[2], req.matches[3]};
    ReviewOutcome outcome;
    s.db->transaction([&] {
        outcome = reviewRun(*s.db, t.userId, t.scope(), run, str(*body, "decision"), str(*body, "feedback"), version);
    });
    if (outcome.status != 200)
        return sendError(res, outcome.status, outcome.error);
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
    onBothScopes(svr, s, Verb::get, "/goals",
                 [&](const ChatTarget& t, const httplib::Request& req, httplib::Response& res) {
                     int limit = 50;
                     if (req.has_param("limit")) {
                         limit = std::atoi(req.get_param_value("limit").c_str());
                         if (limit <= 0)
                             return sendError(res, 400, "Invalid limit: expected a positive whole number");
                         limit = std::min(limit, 200);
                     }
                     sendJson(res, {{"goals", listGoals(*s.db, t.userId, t.scope(), limit)}});
                 });

    onBothScopes(svr, s, Verb::post, "/goals/auto-start",
                 [&](const ChatTarget& t, const httplib::Request& req, httplib::Response& res) {
                     auto body = parseBody(req, res);
                     if (!body)
                         return;
                     const std::string objective = trim(str(*body, "objective"));
                     if (objective.empty())
                         return sendError(res, 400, "Describe the goal first");
                     const std::string requestId = "gs-" + randomHex(6);
                     GoalSetup setup{t.userId, t.scope(), objective, std::nullopt};
                     putGoalSetup(*s.db, requestId, setup);
                     // An objective without a number leaves the bar open: ask for it.
                     if (!hasDigit(objective))
                         return sendJson(res, question(requestId));
                     sendJson(res, finishSetup(s, requestId, setup, objective));
                 });

    onBothScopes(svr, s, Verb::post, R"(/goals/auto-start/([A-Za-z0-9_-]+)/answer)",
                 [&](const ChatTarget& t, const httplib::Request& req, httplib::Response& res) {
                     auto body = parseBody(req, res);
                     if (!body)
                         return;
                     const std::string answer = trim(str(*body, "answer"));
                     if (answer.empty())
                         return sendError(res, 400, "Answer the question first");
                     const std::string requestId = req.matches[2];
                     if (auto setup = setupFor(s, t, requestId, res))
                         sendJson(res, finishSetup(s, requestId, *setup, answer));
                 });

    onBothScopes(svr, s, Verb::post, R"(/goals/auto-start/([A-Za-z0-9_-]+)/resume)",
                 [&](const ChatTarget& t, const httplib::Request& req, httplib::Response& res) {
                     const std::string requestId = req.matches[2];
                     auto setup = setupFor(s, t, requestId, res);
                     if (!setup)
                         return;
                     if (setup->startedGoal)
                         return sendJson(res, started(requestId, *setup->startedGoal));
                     if (!hasDigit(setup->objective))
                         return sendJson(res, question(requestId));
                     sendJson(res, finishSetup(s, requestId, *setup, setup->objective));
                 });

    onBothScopes(svr, s, Verb::put, "/goal",
                 [&](const ChatTarget& t, const httplib::Request& req, httplib::Response& res) {
                     auto body = parseBody(req, res);
                     if (!body)
                         return;
                     if (trim(str(*body, "objective")).empty())
                         return sendError(res, 400, "Describe the goal first");
                     const auto fields = firstGoalFields(*body);
                     if (const auto* problem = std::get_if<std::string>(&fields))
                         return sendError(res, 400, *problem);
                     json goal;
                     s.db->transaction([&] { goal = createGoal(*s.db, t.userId, t.scope(), std::get<json>(fields)); });
                     sendJson(res, {{"ok", true}, {"goal", goal}});
                 });

    onBothScopes(
        svr, s, Verb::post, R"(/goals/([A-Za-z0-9_-]+)/runs/([A-Za-z0-9_-]+)/review)",
        [&](const ChatTarget& t, const httplib::Request& req, httplib::Response& res) { review(s, t, req, res); });
}

} // namespace service
