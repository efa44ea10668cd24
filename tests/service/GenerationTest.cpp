// Generation jobs as the app's poll loop sees them: started under its session id, pending for
// a few polls or until the clock moves, then a clarify round, a ready draft or a failure.
#include "RunningService.h"

#include <gtest/gtest.h>

using namespace service_test;

namespace {

struct Generator {
    httplib::Client c;
    int next = 0;

    // Starts a job; the id is the session id the app would have made.
    std::pair<std::string, json> start(const std::string& brief, json extra = json::object(),
                                       const char* path = "/api/v2/custom-agents/generate")
    {
        const std::string id = "gen-" + std::to_string(++next);
        json request{{"description", brief}, {"agent_type", "employee"},
                     {"round", 1},           {"clarifications", json::array()},
                     {"forceReady", false},  {"generation_session_id", id}};
        request.update(extra);
        if (std::string(path).find("team") != std::string::npos)
            request.erase("agent_type");
        auto r = c.Post(path, request.dump(), "application/json");
        return {id, r && r->status == 200 ? body(r) : json{{"http_status", r ? r->status : 0}}};
    }
    std::pair<int, json> poll(const std::string& id)
    {
        auto r = c.Get(("/api/v2/custom-agents/jobs/" + id).c_str());
        return {r ? r->status : 0, body(r)};
    }
    // Polls until the job leaves "pending"; the job is due by the third poll.
    json finish(const std::string& id)
    {
        for (int i = 0; i < 3; ++i) {
            auto [status, job] = poll(id);
            if (status != 200 || job["status"] != "pending")
                return job;
        }
        return json{{"status", "still pending"}};
    }
};

const json* questionWithKey(const json& draft, const std::string& key)
{
    for (const auto& q : draft["questions"])
        if (q["key"] == key)
            return &q;
    return nullptr;
}

} // namespace

TEST(Generation, JobIsPendingForTwoPollsOrUntilTheClockMovesThenAsksThenDrafts)
{
    RunningService svc;
    Generator g{svc.client(svc.demoCookie())};
    const std::string brief = "Email marketing helper for our weekly newsletter and launch campaigns";
    auto [id, started] = g.start(brief);
    EXPECT_EQ(started["mode"], "pending");
    EXPECT_EQ(g.poll(id).second["status"], "pending");
    EXPECT_EQ(g.poll(id).second["status"], "pending");
    const json job = g.poll(id).second;
    ASSERT_EQ(job["status"], "completed");
    const json& draft = job["result"];
    EXPECT_EQ(draft["mode"], "clarify");
    ASSERT_NE(questionWithKey(draft, "sources"), nullptr);
    EXPECT_EQ((*questionWithKey(draft, "sources"))["multiSelect"], true);
    EXPECT_TRUE((*questionWithKey(draft, "scope"))["options"][0]["hint"].is_string());
    // One question the app answers by itself.
    ASSERT_NE(questionWithKey(draft, "channel"), nullptr);
    EXPECT_EQ((*questionWithKey(draft, "channel"))["options"][0]["value"], "in_app_chat");
    EXPECT_EQ(g.poll(id).second, job); // a finished job stays finished

    // The clock alone makes a job due, and the answered round gives the ready draft.
    const json answers
        = json::array({{{"key", "tone"}, {"question", "How should it sound?"}, {"answer", "warm"}},
                       {{"key", "channel"}, {"question", "Where?"}, {"answer", "Tessal chat (built-in)"}}});
    auto [id2, again] = g.start(brief, {{"round", 2}, {"clarifications", answers}});
    ASSERT_TRUE(svc.advanceClock(10));
    const json ready = g.poll(id2).second;
    ASSERT_EQ(ready["status"], "completed");
    const json& d = ready["result"];
    EXPECT_EQ(d["mode"], "ready");
    EXPECT_EQ(d["role"], "Email marketing specialist");
    EXPECT_FALSE(d.contains("name")); // no name given: the app picks one
    EXPECT_NE(d["system_prompt"].get<std::string>().find("warm and plain"), std::string::npos);
    EXPECT_EQ(d["work_profile"]["decisions"]["tone"], "warm");
    EXPECT_GE(d["skills"].size(), 2u);
    for (const char* key : {"name", "description", "content"})
        EXPECT_FALSE(d["skills"][0][key].get<std::string>().empty());
    EXPECT_FALSE(d["tools"].empty());
    EXPECT_FALSE(d["constraints"].empty());
    EXPECT_EQ(d["trigger"]["type"], "manual");
    EXPECT_FALSE(d.contains("playbook"));

    // Same request, same draft.
    auto [id3, _] = g.start(brief, {{"round", 2}, {"clarifications", answers}});
    EXPECT_EQ(g.finish(id3)["result"], d);
}

TEST(Generation, ImmediateSkippedNamedWorkerAndChannelOnlyRounds)
{
    RunningService svc;
    Generator g{svc.client(svc.demoCookie())};
    // "right away" answers with the draft itself; "no questions" skips the first round's questions.
    auto [id, immediate] = g.start("Research assistant named Mira, answer right away with no questions");
    EXPECT_EQ(immediate["mode"], "ready");
    EXPECT_EQ(immediate["name"], "Mira");
    EXPECT_EQ(immediate["role"], "Research analyst");

    // A skipped round is forced ready; a worker gets a schedule from its answers and a playbook.
    auto [wid, w] = g.start(
        "Competitor research digest for the sales team",
        {{"agent_type", "worker"},
         {"forceReady", true},
         {"clarifications", json::array({{{"key", "cadence"}, {"question", "How often?"}, {"answer", "weekly"}}})}});
    const json worker = g.finish(wid)["result"];
    EXPECT_EQ(worker["mode"], "ready");
    EXPECT_EQ(worker["trigger"], (json{{"type", "schedule"}, {"intervalMinutes", 10080}}));
    ASSERT_GE(worker["playbook"].size(), 3u);
    EXPECT_EQ(worker["playbook"][0]["type"], "browse");
    EXPECT_TRUE(worker["playbook"][0]["url"].is_string());

    // A first worker round also asks how often it runs.
    auto [wid1, w1] = g.start("Daily bookkeeping worker for invoices", {{"agent_type", "worker"}});
    EXPECT_NE(questionWithKey(g.finish(wid1)["result"], "cadence"), nullptr);

    auto [cid, c] = g.start("Support agent for refunds, channel only");
    const json channelOnly = g.finish(cid)["result"];
    ASSERT_EQ(channelOnly["questions"].size(), 1u);
    EXPECT_EQ(channelOnly["questions"][0]["options"][0]["value"], "in_app_chat");

    auto [rid, r] = g.start("Поддержка клиентов интернет-магазина", {{"forceReady", true}});
    EXPECT_EQ(g.finish(rid)["result"]["response_language"], "ru");
}

TEST(Generation, TeamDraftsHaveTwoToFiveMembersWithRolesOutputsAndBoundaries)
{
    RunningService svc;
    Generator g{svc.client(svc.demoCookie())};
    const char* team = "/api/v2/custom-agents/generate-team";
    auto [id, s] = g.start("A content team for our blog, no questions", json::object(), team);
    const json draft = g.finish(id)["result"];
    ASSERT_EQ(draft["mode"], "ready");
    EXPECT_EQ(draft["name"], "Content Studio");
    ASSERT_EQ(draft["members"].size(), 4u);
    for (const auto& m : draft["members"]) {
        EXPECT_EQ(m["handle"].get<std::string>().front(), '@');
        for (const char* key : {"role", "out", "boundaries"})
            EXPECT_FALSE(m[key].get<std::string>().empty()) << key;
        EXPECT_FALSE(m["builtin_tools"].empty());
    }
    EXPECT_NE(draft["summary"].get<std::string>().find("@writer"), std::string::npos);

    for (const auto& [brief, size] :
         std::vector<std::pair<std::string, size_t>>{{"Sales team of five people, no questions", 5},
                                                     {"Sales team of 2 members, no questions", 2},
                                                     {"Research crew of 12 people, no questions", 5},
                                                     {"Research crew of 1 person, no questions", 2}}) {
        auto [tid, t] = g.start(brief, json::object(), team);
        EXPECT_EQ(g.finish(tid)["result"]["members"].size(), size) << brief;
    }
    auto [qid, q] = g.start("Support crew for our shop", json::object(), team);
    const json clarify = g.finish(qid)["result"];
    EXPECT_EQ(clarify["mode"], "clarify");
    EXPECT_NE(questionWithKey(clarify, "handoff"), nullptr);
}

TEST(Generation, PhrasesReachEveryEndOfThePollLoop)
{
    RunningService svc;
    Generator g{svc.client(svc.demoCookie())};
    const json loud = g.finish(g.start("Please fail loudly on this brief").first);
    EXPECT_EQ(loud["status"], "failed");
    EXPECT_FALSE(loud["error"].get<std::string>().empty());
    const json quiet = g.finish(g.start("Please fail quietly on this brief").first);
    EXPECT_EQ(quiet, (json{{"status", "failed"}}));
    EXPECT_EQ(g.finish(g.start("Start and then abort the job").first)["status"], "aborted");
    EXPECT_EQ(g.finish(g.start("A helper whose result is an empty result").first), (json{{"status", "completed"}}));
    const json garbled = g.finish(g.start("A helper with a garbled draft").first);
    EXPECT_EQ(garbled["result"]["mode"], "unusable");
    EXPECT_TRUE(garbled["result"]["error"].is_string());

    const std::string lost = g.start("This job should vanish for good").first;
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(g.poll(lost).first, 404);
    EXPECT_EQ(g.poll(lost).second["error"], "Generation job not found");

    const std::string flaky = g.start("This job should vanish briefly, no questions").first;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(g.poll(flaky).first, 404);
    EXPECT_EQ(g.finish(flaky)["result"]["mode"], "ready");

    const std::string stalled = g.start("This job should stall forever").first;
    svc.advanceClock(3600);
    EXPECT_EQ(g.finish(stalled)["status"], "still pending");
}

TEST(Generation, HostileStartsAreRefusedWithAClearMessage)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const json good{{"description", "Email marketing helper"}, {"generation_session_id", "ok-1"}};
    const std::pair<json, std::string> cases[] = {
        {{{"description", "   "}, {"generation_session_id", "x"}}, "Describe the employee in a sentence or two."},
        {{{"description", 5}, {"generation_session_id", "x"}}, "description must be a text"},
        {{{"description", std::string(9000, 'a')}, {"generation_session_id", "x"}},
         "The description is too long (8000 characters at most)."},
        {{{"description", "Email helper"}}, "generation_session_id must be 1 to 100 letters, digits, “-” or “_”"},
        {{{"description", "Email helper"}, {"generation_session_id", "../etc"}},
         "generation_session_id must be 1 to 100 letters, digits, “-” or “_”"},
        {{{"description", "Email helper"}, {"generation_session_id", "x"}, {"agent_type", "robot"}},
         "agent_type must be \"employee\" or \"worker\""},
        {{{"description", "Email helper"}, {"generation_session_id", "x"}, {"round", 0}},
         "round must be a whole number from 1 to 50"},
        {{{"description", "Email helper"}, {"generation_session_id", "x"}, {"forceReady", "yes"}},
         "forceReady must be true or false"},
        {{{"description", "Email helper"},
          {"generation_session_id", "x"},
          {"clarifications", json::array({{{"key", 1}}})}},
         "Every clarification needs a key, a question and an answer, each a text"},
    };
    for (const auto& [request, message] : cases) {
        auto r = c.Post("/api/v2/custom-agents/generate", request.dump(), "application/json");
        ASSERT_TRUE(r);
        EXPECT_EQ(r->status, 400) << request.dump().substr(0, 200);
        EXPECT_EQ(body(r)["error"], message);
    }
    EXPECT_EQ(c.Post("/api/v2/custom-agents/generate", "{\"description\":", "application/json")->status, 400);
    EXPECT_EQ(c.Post("/api/v2/custom-agents/generate", std::string(300 * 1024, ' '), "application/json")->status, 413);
    std::string deep = "{\"description\":\"Email helper\",\"generation_session_id\":\"d\",\"x\":";
    deep += std::string(5000, '[') + std::string(5000, ']') + "}";
    EXPECT_EQ(c.Post("/api/v2/custom-agents/generate", deep, "application/json")->status, 400);
    EXPECT_EQ(svc.client().Post("/api/v2/custom-agents/generate", good.dump(), "application/json")->status, 401);
    // Jobs are the user's own.
    ASSERT_EQ(c.Post("/api/v2/custom-agents/generate", good.dump(), "application/json")->status, 200);
    EXPECT_EQ(svc.client().Get("/api/v2/custom-agents/jobs/ok-1")->status, 401);
    EXPECT_EQ(c.Get("/api/v2/custom-agents/jobs/ok-1")->status, 200);
}
