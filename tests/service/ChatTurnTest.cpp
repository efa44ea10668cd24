// A sent turn answered over a real event stream: steps running then done, the answer, the
// usage line; approvals, artifacts, long and failed steps, goals and suggestions.
#include "ChatTestSupport.h"

#include <map>

using namespace chattest;

namespace {

const char* kStream = "/api/v2/custom-agents/a-researcher/chat/stream";

json sendTurn(const LiveService& s, const std::string& text, const std::string& path = kResearcher)
{
    static int counter = 0;
    return s.post(path, {{"mode", "live"}, {"client_request_id", "turn-" + std::to_string(++counter)}, {"text", text}});
}

// The newest state of every message the stream delivered, by id.
std::map<long long, json> latest(const std::vector<Event>& events)
{
    std::map<long long, json> out;
    for (const auto& e : events)
        out[e.data["id"].get<long long>()] = e.data;
    return out;
}

const json* firstOfKind(const std::map<long long, json>& messages, const std::string& kind)
{
    for (const auto& [id, m] : messages)
        if (kindOf(m) == kind)
            return &m;
    return nullptr;
}

} // namespace

TEST(ChatTurn, ResearchTurnStreamsStepsRunningThenDoneThenAReportThenUsage)
{
    LiveService s;
    StreamReader stream(s, kStream);
    ASSERT_TRUE(stream.waitForReady());
    const json sent = sendTurn(s, "Please research and compare analytics tools");
    ASSERT_TRUE(stream.waitFor([](const auto& e) { return hasTurnSpend(e); }));
    const auto events = stream.messages();

    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front().name, "message-insert");
    EXPECT_EQ(events.front().data["id"], sent["message"]["id"]);

    std::map<long long, std::vector<std::string>> stepStatuses;
    long long lastInserted = 0;
    size_t running = 0, mostRunning = 0;
    for (const auto& e : events) {
        const long long id = e.data["id"];
        if (e.name == "message-insert") {
            EXPECT_GT(id, lastInserted) << "new messages arrive in id order";
            lastInserted = id;
        } else {
            EXPECT_EQ(stepStatuses.count(id), 1u) << "an update names a message inserted before";
        }
        if (e.data["role"] == "step") {
            stepStatuses[id].push_back(statusOf(e.data));
            running += statusOf(e.data) == "running" ? 1 : -1;
            mostRunning = std::max(mostRunning, running);
        }
    }
    ASSERT_EQ(stepStatuses.size(), 3u); // the web search and two pages
    EXPECT_EQ(mostRunning, 3u) << "the search and the pages run side by side";
    for (const auto& [id, statuses] : stepStatuses)
        EXPECT_EQ(statuses, (std::vector<std::string>{"running", "done"})) << id;

    const json& answer = events[events.size() - 2].data;
    EXPECT_EQ(answer["role"], "assistant");
    const std::string report = answer["content"];
    EXPECT_NE(report.find("## "), std::string::npos);
    EXPECT_NE(report.find("\n1. "), std::string::npos);
    EXPECT_NE(report.find("Sources: ["), std::string::npos);
    EXPECT_NE(report.find("](https://"), std::string::npos);
    const json& usage = events.back().data;
    EXPECT_EQ(kindOf(usage), "turn_spend");
    EXPECT_GT(usage["metadata"]["cost_usd"].get<double>(), 0.0);
    EXPECT_EQ(usage["metadata"]["work_id"], answer["metadata"]["work_id"]);

    // What history holds afterwards equals what the stream said last.
    const json stored
        = s.get(std::string(kResearcher) + "?since=" + std::to_string(sent["message"]["id"].get<long long>() - 1));
    const auto streamed = latest(events);
    ASSERT_EQ(stored["messages"].size(), streamed.size());
    for (const auto& m : stored["messages"])
        EXPECT_EQ(m, streamed.at(m["id"].get<long long>()));
}

TEST(ChatTurn, TeamTurnHandsOffToATeammateOnTheTeamStream)
{
    LiveService s;
    StreamReader stream(s, "/api/v2/orchestrator-chat/growth/stream");
    ASSERT_TRUE(stream.waitForReady());
    s.post("/api/v2/orchestrator-chat/growth", {{"text", "find three partners"}});
    ASSERT_TRUE(stream.waitFor([](const auto& e) { return hasTurnSpend(e); }));
    bool handedOff = false;
    for (const auto& [id, m] : latest(stream.messages()))
        if (m["role"] == "step" && m["metadata"].value("delegate_to", std::string()) == "writer") {
            handedOff = true;
            EXPECT_EQ(statusOf(m), "done");
        }
    EXPECT_TRUE(handedOff);
    EXPECT_EQ(s.get("/api/v2/orchestrator-chat/growth?limit=50")["messages"].size(),
              latest(stream.messages()).size() + 2);
}

TEST(ChatTurn, ApprovalPausesTheTurnUntilDecidedAndIsDecidedOnce)
{
    LiveService s;
    StreamReader stream(s, kStream);
    ASSERT_TRUE(stream.waitForReady());
    sendTurn(s, "Send the email once I approve");
    const json* request = nullptr;
    ASSERT_TRUE(stream.waitFor([](const auto& e) {
        for (const auto& ev : e)
            if (kindOf(ev.data) == "approval_request")
                return true;
        return false;
    }));
    const auto before = latest(stream.messages());
    request = firstOfKind(before, "approval_request");
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(statusOf(*request), "pending");
    EXPECT_FALSE(hasTurnSpend(stream.messages())) << "the turn waits for the decision";

    const std::string path
        = "/api/v2/custom-agents/a-researcher/proposals/" + std::to_string((*request)["id"].get<long long>());
    const json resolution = s.post(path, {{"action", "accept"}});
    EXPECT_EQ(resolution["status"], "approved");
    ASSERT_TRUE(stream.waitFor([](const auto& e) { return hasTurnSpend(e); }));
    const auto after = latest(stream.messages());
    EXPECT_EQ(statusOf(after.at((*request)["id"].get<long long>())), "approved");
    bool sent = false;
    for (const auto& [id, m] : after)
        sent |= m["metadata"].value("tool", std::string()) == "send_email" && statusOf(m) == "done";
    EXPECT_TRUE(sent);
    EXPECT_EQ(s.post(path, {{"action", "reject"}}, 409).count("error"), 1u);

    // The team path takes a decision and the message id as a number.
    StreamReader team(s, "/api/v2/orchestrator-chat/growth/stream");
    ASSERT_TRUE(team.waitForReady());
    s.post("/api/v2/orchestrator-chat/growth", {{"text", "ask for approval first"}});
    ASSERT_TRUE(team.waitFor([](const auto& e) {
        for (const auto& ev : e)
            if (kindOf(ev.data) == "approval_request")
                return true;
        return false;
    }));
    const long long teamRequest = (*firstOfKind(latest(team.messages()), "approval_request"))["id"];
    EXPECT_EQ(s.post("/api/v2/orchestrator-chat/growth/approve",
                     {{"decision", "reject"}, {"approval_id", teamRequest}})["status"],
              "rejected");
    ASSERT_TRUE(team.waitFor([](const auto& e) { return hasTurnSpend(e); }));
    EXPECT_EQ(s.post("/api/v2/orchestrator-chat/growth/approve", {{"decision", "approve"}, {"approval_id", "7"}}, 400)
                  .count("error"),
              1u);
}

TEST(ChatTurn, LongStepIsShortenedAndExpandsToItsWholeText)
{
    LiveService s;
    StreamReader stream(s, kStream);
    ASSERT_TRUE(stream.waitForReady());
    sendTurn(s, "read the page, long step please");
    ASSERT_TRUE(stream.waitFor([](const auto& e) { return hasTurnSpend(e); }));
    const json* step = nullptr;
    const auto messages = latest(stream.messages());
    for (const auto& [id, m] : messages)
        if (m["role"] == "step")
            step = &m;
    ASSERT_NE(step, nullptr);
    EXPECT_EQ((*step)["metadata"]["_truncated"], true);
    const json full = s.get(std::string(kResearcher) + "/step/" + std::to_string((*step)["id"].get<long long>()));
    EXPECT_FALSE(full["metadata"].contains("_truncated"));
    EXPECT_GT(full["content"].get<std::string>().size(), 2000u);
    const std::string shortText = (*step)["content"];
    EXPECT_EQ(full["content"].get<std::string>().rfind(shortText.substr(0, 100), 0), 0u);
}

TEST(ChatTurn, PhrasesPickFailuresArtifactsAndOptions)
{
    LiveService s;
    StreamReader stream(s, kStream);
    ASSERT_TRUE(stream.waitForReady());
    const char* turns[] = {"this will fail", "make a table of leads", "draft a document", "give me options"};
    for (size_t i = 0; i < 4; ++i) {
        sendTurn(s, turns[i]);
        ASSERT_TRUE(stream.waitFor([i](const auto& e) { return hasTurnSpend(e, i + 1); })) << turns[i];
    }
    bool failed = false, table = false, options = false;
    std::string documentUrl;
    for (const auto& [id, m] : latest(stream.messages())) {
        const json& meta = m["metadata"];
        failed |= m["role"] == "step" && statusOf(m) == "failed" && meta.contains("error");
        table |= meta.contains("artifact") && meta["artifact"].value("artifact_type", std::string()) == "table";
        if (meta.contains("document"))
            documentUrl = meta["document"].value("url", std::string());
        options |= m["content"].get<std::string>().find("\nOPTIONS: ") != std::string::npos;
    }
    EXPECT_TRUE(failed);
    EXPECT_TRUE(table);
    EXPECT_TRUE(options);
    ASSERT_NE(documentUrl.find("/api/v2/chat-files/"), std::string::npos);
    auto doc = s.client().Get(documentUrl.substr(documentUrl.find("/api/")));
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->status, 200);
    EXPECT_EQ(doc->body.rfind("# Brief", 0), 0u);
}

TEST(ChatTurn, GoalRunWaitsForReviewAndIsReviewedOnceAtTheSeenVersion)
{
    LiveService s;
    StreamReader stream(s, kStream);
    ASSERT_TRUE(stream.waitForReady());
    sendTurn(s, "set a goal: find qualified leads");
    ASSERT_TRUE(stream.waitFor([](const auto& e) { return hasTurnSpend(e); }));
    const json goals = s.get("/api/v2/custom-agents/a-researcher/goals?limit=10")["goals"];
    ASSERT_EQ(goals.size(), 1u);
    const json& goal = goals[0];
    EXPECT_EQ(goal["status"], "awaiting_review");
    const std::string runId = goal["pending_review"]["run_id"];
    EXPECT_EQ(goal["pending_review"]["acceptance_status"], "pending");
    bool tagged = false;
    for (const auto& [id, m] : latest(stream.messages()))
        tagged |= m["metadata"].value("goal_run_id", std::string()) == runId;
    EXPECT_TRUE(tagged);

    const std::string review
        = "/api/v2/custom-agents/a-researcher/goals/" + goal["id"].get<std::string>() + "/runs/" + runId + "/review";
    const long long version = goal["version"];
    s.post(review, {{"decision", "needs_work"}, {"feedback", "  "}, {"expected_goal_version", version}}, 400);
    s.post(review, {{"decision", "accept"}, {"feedback", ""}, {"expected_goal_version", version + 1}}, 409);
    EXPECT_EQ(s.post(review, {{"decision", "accept"}, {"feedback", ""}, {"expected_goal_version", version}})["ok"],
              true);
    s.post(review, {{"decision", "accept"}, {"feedback", ""}, {"expected_goal_version", version + 1}}, 409);
    EXPECT_EQ(s.get("/api/v2/custom-agents/a-researcher/goals")["goals"][0]["pending_review"]["acceptance_status"],
              "accepted");
}

TEST(ChatTurn, GuidedGoalSetupAsksThenStartsOnceAndSuggestionsKeyOnTheNewestMessage)
{
    LiveService s;
    const std::string base = "/api/v2/teams/growth/goals";
    const json asked = s.post(base + "/auto-start",
                              {{"objective", "grow the newsletter"}, {"timezone", "UTC"}, {"client_request_id", "c1"}});
    EXPECT_EQ(asked["status"], "clarification_required");
    EXPECT_FALSE(asked["question"].get<std::string>().empty());
    const std::string id = asked["request_id"];
    const json started = s.post(base + "/auto-start/" + id + "/answer", {{"answer", "10"}});
    EXPECT_EQ(started["status"], "started");
    EXPECT_EQ(started["goal"]["objective"], "grow the newsletter");
    EXPECT_EQ(s.post(base + "/auto-start/" + id + "/resume", json::object())["goal"]["id"], started["goal"]["id"]);
    EXPECT_EQ(s.get(base)["goals"].size(), 1u);
    s.post(base + "/auto-start/unknown/resume", json::object(), 404);

    const json first
        = s.post("/api/v2/custom-agents/a-researcher/goals/suggestions", {{"mode", "chat"}, {"language", "en"}});
    EXPECT_GE(first["chat_suggestions"].size(), 4u);
    const std::string hash = first["context_hash"];
    const json same = s.post("/api/v2/custom-agents/a-researcher/goals/suggestions",
                             {{"mode", "chat"}, {"language", "en"}, {"known_context_hash", hash}});
    EXPECT_EQ(same["unchanged"], true);
    sendTurn(s, "hello");
    const json changed = s.post("/api/v2/custom-agents/a-researcher/goals/suggestions",
                                {{"mode", "chat"}, {"language", "en"}, {"known_context_hash", hash}});
    EXPECT_NE(changed["context_hash"], hash);
}
