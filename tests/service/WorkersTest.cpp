// Workers over HTTP: drafts and revisions as jobs, the dry run, deploying a schedule, runs that
// show their steps live and deliver a result, failing and cancelled runs, the workflow
// marketplace and hostile bodies. Steps take a minute of service clock, so nothing moves until a
// case moves the clock, and every clock move answers once the runs have caught up.
#include "ChatTestSupport.h"

#include <set>

using namespace chattest;

namespace {

const char* kArgs = "--ping-ms 200 --run-step-seconds 60";
const char* kBrief = "/api/v2/custom-agents/a-morning-brief";

class Workers {
public:
    explicit Workers(const LiveService& s) : m_s(s) {}

    // A worker of the demo user; active unless `extra` says otherwise.
    std::string create(const json& playbook, json extra = json::object()) const
    {
        json body{{"name", "Checker"}, {"agent_type", "worker"}, {"status", "active"}, {"playbook", playbook}};
        body.update(extra);
        return m_s.post("/api/v2/custom-agents", body, 201).value("id", std::string());
    }
    json send(const std::string& method, const std::string& path, const std::string& body, int expect) const
    {
        auto c = m_s.client();
        auto r = method == "PATCH" ? c.Patch(path, body, "application/json")
            : method == "DELETE"   ? c.Delete(path)
                                   : c.Post(path, body, "application/json");
        EXPECT_TRUE(r) << path;
        if (!r)
            return {};
        EXPECT_EQ(r->status, expect) << method << " " << path << " " << body.substr(0, 200) << " -> " << r->body;
        return json::parse(r->body, nullptr, false);
    }
    json run(const std::string& worker, const json& body = json::object(), int expect = 202) const
    {
        return m_s.post("/api/v2/custom-agents/" + worker + "/run", body, expect);
    }
    json runOf(const std::string& id) const { return m_s.get("/api/v2/workflow-runs/" + id); }
    json runs(const std::string& worker) const { return m_s.get("/api/v2/workflow-runs?agent_id=" + worker)["runs"]; }
    void advance(long long seconds) const { m_s.post("/__test/clock", {{"advance_seconds", seconds}}); }
    json chat(const std::string& agent) const
    {
        return m_s.get("/api/v2/custom-agents/" + agent + "/chat")["messages"];
    }
    json dryRun(const std::string& worker, int expect = 200) const
    {
        return m_s.post("/api/v2/custom-agents/" + worker + "/dry-run", json::object(), expect);
    }

private:
    const LiveService& m_s;
};

json llm(const std::string& name) { return {{"type", "llm"}, {"name", name}, {"prompt", "Think about " + name}}; }
json tool(const std::string& name, const std::string& id, json args = json::object())
{
    return {{"type", "tool"}, {"name", name}, {"tool_id", id}, {"args", args}};
}

std::vector<std::string> statuses(const json& run)
{
    std::vector<std::string> out;
    for (const auto& step : run["steps"])
        out.push_back(step["status"]);
    return out;
}

// The chat's step messages of one run, in order.
std::vector<json> stepsOfRun(const json& messages, const std::string& runId)
{
    std::vector<json> out;
    for (const auto& m : messages)
        if (m["role"] == "step" && m["metadata"].value("run_id", std::string()) == runId)
            out.push_back(m);
    return out;
}

} // namespace

TEST(Workers, DraftJobCarriesItsIdAndADraftThatPassesTheDryRun)
{
    LiveService s;
    Workers w(s);
    const json started = s.post("/api/v2/custom-agents/generate",
                                {{"description", "Send me a weekly pricing digest of our competitors"},
                                 {"agent_type", "worker"},
                                 {"forceReady", true},
                                 {"generation_session_id", "w-1"}});
    EXPECT_EQ(started["job_id"], "w-1");
    const std::string job = "/api/v2/custom-agents/jobs/w-1";
    EXPECT_EQ(s.get(job)["status"], "pending");
    EXPECT_EQ(s.get(job)["status"], "pending");
    const json done = s.get(job);
    ASSERT_EQ(done["status"], "completed");
    const json& draft = done["result"];
    EXPECT_EQ(draft["name"], "Weekly pricing digest");
    EXPECT_EQ(draft["trigger"], (json{{"type", "schedule"}, {"intervalMinutes", 10080}}));
    ASSERT_GE(draft["playbook"].size(), 3u);
    ASSERT_LE(draft["playbook"].size(), 5u);
    std::set<std::string> types;
    for (const auto& step : draft["playbook"])
        types.insert(step["type"].get<std::string>());
    EXPECT_EQ(types, (std::set<std::string>{"browse", "llm", "tool"}));
    // Saved as drafted, the worker's tools are all known to the service.
    const std::string id = w.create(draft["playbook"], {{"name", draft["name"]}, {"trigger", draft["trigger"]}});
    EXPECT_EQ(w.dryRun(id), (json{{"ok", true}, {"status", "ok"}, {"steps", draft["playbook"].size()}}));

    const json manual = s.post("/api/v2/custom-agents/generate",
                               {{"description", "Competitor research on demand, right away"},
                                {"agent_type", "worker"},
                                {"forceReady", true},
                                {"generation_session_id", "w-2"}});
    EXPECT_EQ(manual["mode"], "ready");
    EXPECT_EQ(manual["name"], "Competitor research");
    EXPECT_EQ(manual["trigger"], (json{{"type", "manual"}}));
}

TEST(Workers, RevisionIsAJobThatCanBeAbortedAndRefusesWhatItCannotRevise)
{
    LiveService s;
    const json draft{{"name", "Price watch"},
                     {"system_prompt", "You watch prices."},
                     {"trigger", {{"type", "manual"}}},
                     {"knowledge_base", ""},
                     {"knowledge_urls", json::array()},
                     {"playbook", json::array({llm("Compare"), tool("Send", "slack_post_message")})}};
    auto revise = [&](const std::string& instruction, const std::string& id, int expect = 200) {
        return s.post("/api/v2/custom-agents/revise-draft",
                      {{"current_spec", draft}, {"new_instruction", instruction}, {"generation_session_id", id}},
                      expect);
    };
    EXPECT_EQ(revise("Rename to Digest", "rv-1")["job_id"], "rv-1");
    s.post("/__test/clock", {{"advance_seconds", 10}});
    const json job = s.get("/api/v2/custom-agents/jobs/rv-1");
    ASSERT_EQ(job["status"], "completed");
    EXPECT_EQ(job["result"]["name"], "Digest");
    EXPECT_EQ(job["result"]["mode"], "ready");
    EXPECT_EQ(job["result"]["playbook"], draft["playbook"]);

    const json now = revise("Rename to Digest. Right away.", "rv-2");
    EXPECT_EQ(now["mode"], "ready");
    EXPECT_EQ(now["name"], "Digest");

    revise("Fail loudly please", "rv-3");
    s.post("/__test/clock", {{"advance_seconds", 10}});
    EXPECT_EQ(s.get("/api/v2/custom-agents/jobs/rv-3")["status"], "failed");

    revise("Stall forever", "rv-4");
    EXPECT_EQ(s.post("/api/v2/custom-agents/jobs/rv-4/abort", json::object()), (json{{"ok", true}}));
    EXPECT_EQ(s.get("/api/v2/custom-agents/jobs/rv-4"),
              (json{{"status", "aborted"}, {"error", "Generation was cancelled."}}));
    EXPECT_EQ(s.post("/api/v2/custom-agents/jobs/nope/abort", json::object(), 404)["error"],
              "Generation job not found");

    const std::pair<json, std::string> refused[] = {
        {{{"current_spec", draft}, {"generation_session_id", "x"}}, "Describe the change in a few words."},
        {{{"current_spec", draft}, {"new_instruction", "  "}, {"generation_session_id", "x"}},
         "Describe the change in a few words."},
        {{{"current_spec", json::array()}, {"new_instruction", "Go"}, {"generation_session_id", "x"}},
         "current_spec must be an object"},
        {{{"current_spec", {{"playbook", "steps"}}}, {"new_instruction", "Go"}, {"generation_session_id", "x"}},
         "current_spec.playbook must be a list"},
        {{{"current_spec", {{"playbook", {1}}}}, {"new_instruction", "Go"}, {"generation_session_id", "x"}},
         "Every pipeline step must be an object"},
        {{{"current_spec", draft}, {"new_instruction", "Remove step 7"}, {"generation_session_id", "x"}},
         "There is no step 7 in this worker."},
    };
    for (const auto& [body, message] : refused)
        EXPECT_EQ(s.post("/api/v2/custom-agents/revise-draft", body, 400)["error"], message) << body.dump();
    EXPECT_EQ(
        s.post(
            "/api/v2/custom-agents/revise-draft",
            {{"current_spec", draft}, {"new_instruction", "Go"}, {"generation_session_id", "x"}, {"agent_id", "a-x"}},
            404)["error"],
        "Agent not found");
}

TEST(Workers, DryRunNamesTheStepThatCannotRun)
{
    LiveService s;
    Workers w(s);
    const std::pair<json, std::string> cases[] = {
        {json::array({llm("Think"), tool("Deliver", "slack_post_message", json::array())}),
         "Step 2 “Deliver”: args must be a JSON object."},
        {json::array({llm("Think"), llm("Again"), tool("Send", "foo_bar")}), "Step 3 “Send”: unknown tool “foo_bar”."},
        {json::array({{{"type", "browse"}, {"name", "X"}}}), "Step 1 “X”: a browse step needs an address."},
        {json::array({tool("Call", "nango_request", {{"connector", "gmail"}})}),
         "Step 1 “Call”: nango_request needs “operation” in its args."},
        {json::array(), "The worker has no steps."},
    };
    for (const auto& [playbook, error] : cases)
        EXPECT_EQ(w.dryRun(w.create(playbook)), (json{{"ok", false}, {"status", "error"}, {"error", error}}));
    EXPECT_EQ(w.dryRun("a-researcher", 400)["error"], "Only workers can be checked.");
    EXPECT_EQ(w.dryRun("a-nobody", 404)["error"], "Agent not found");
}

TEST(Workers, DeployWaitsForActivationThenTheScheduleRunsOnTheServiceClock)
{
    LiveService s(kArgs);
    Workers w(s);
    const std::string id
        = w.create(json::array({llm("Think")}),
                   {{"status", "draft"}, {"trigger", {{"type", "schedule"}, {"intervalMinutes", 60}}}});
    const std::string deploy = "/api/v2/custom-agents/" + id + "/deploy";
    EXPECT_EQ(s.post(deploy, {{"trigger_type", "schedule"}}, 409)["error"], "Activate the worker before deploying it.");
    w.send("PATCH", "/api/v2/custom-agents/" + id, R"({"status":"active"})", 200);
    s.post(deploy, {{"trigger_type", "nightly"}}, 400);
    EXPECT_TRUE(s.post(deploy, {{"trigger_type", "schedule"}})["next_run_at"].is_string());

    w.advance(59 * 60);
    EXPECT_TRUE(w.runs(id).empty());
    w.advance(60);
    json runs = w.runs(id);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0]["trigger_type"], "schedule");
    EXPECT_EQ(runs[0]["status"], "running");
    w.advance(60);
    EXPECT_EQ(w.runOf(runs[0]["id"])["status"], "success");
    w.advance(3600);
    runs = w.runs(id);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_NE(runs[0]["id"], runs[1]["id"]); // newest first

    // A paused worker skips its turn; the schedule goes on.
    w.send("PATCH", "/api/v2/custom-agents/" + id, R"({"status":"paused"})", 200);
    w.advance(3600);
    EXPECT_EQ(w.runs(id).size(), 2u);
    w.send("PATCH", "/api/v2/custom-agents/" + id, R"({"status":"active"})", 200);
    w.advance(3600);
    EXPECT_EQ(w.runs(id).size(), 3u);

    // An event trigger has no next time, and the schedule stops.
    EXPECT_EQ(s.post(deploy, {{"trigger_type", "event"}}), (json{{"ok", true}, {"next_run_at", nullptr}}));
    w.advance(5 * 3600);
    EXPECT_EQ(w.runs(id).size(), 3u);
}

TEST(Workers, RunShowsEachStepLiveAndDeliversItsResultToBothChats)
{
    LiveService s(kArgs);
    Workers w(s);
    StreamReader stream(s, std::string(kBrief) + "/chat/stream");
    ASSERT_TRUE(stream.waitForReady());
    const json started
        = w.run("a-morning-brief", {{"from_chat", true}, {"delivery_agent_id", "a-researcher"}, {"input", "pricing"}});
    EXPECT_EQ(started["status"], "running");
    const std::string id = started["run_id"];
    EXPECT_EQ(started["id"], id);
    EXPECT_EQ(statuses(w.runOf(id)), (std::vector<std::string>{"running", "pending", "pending"}));
    EXPECT_EQ(w.run("a-morning-brief", json::object(), 409)["error"], "This worker is already running.");

    for (int i = 0; i < 3; ++i)
        w.advance(60);
    const json run = w.runOf(id);
    EXPECT_EQ(run["status"], "success");
    EXPECT_EQ(run["trigger_type"], "manual");
    EXPECT_TRUE(run["finished_at"].is_string());
    EXPECT_EQ(statuses(run), (std::vector<std::string>{"done", "done", "done"}));
    EXPECT_NE(run["steps"][1]["output"].get<std::string>().find("pricing"), std::string::npos);
    const std::string result = run["result"];
    EXPECT_EQ(result.rfind("**Morning brief** finished:", 0), 0u);

    const json messages = w.chat("a-morning-brief");
    const auto steps = stepsOfRun(messages, id);
    ASSERT_EQ(steps.size(), 3u);
    for (const auto& step : steps)
        EXPECT_EQ(kindOf(step), "tool_done");
    EXPECT_EQ(steps[0]["content"], "Collected source: https://example.com/news");
    EXPECT_EQ(messages.back()["content"], result);
    EXPECT_EQ(w.chat("a-researcher").back()["content"], result);

    // The open chat saw the first step inserted running and then changed to done.
    const long long first = steps[0]["id"];
    EXPECT_TRUE(stream.waitFor([&](const std::vector<Event>& events) {
        bool inserted = false, finished = false;
        for (const auto& e : events)
            if (e.name != "ready" && e.data.value("id", 0LL) == first) {
                inserted = inserted || (e.name == "message-insert" && statusOf(e.data) == "running");
                finished = finished || (e.name == "message" && statusOf(e.data) == "done");
            }
        return inserted && finished;
    }));
}

TEST(Workers, AFailingStepEndsTheRunAsAnErrorAndRefusedRunsSayWhy)
{
    LiveService s(kArgs);
    Workers w(s);
    const std::string id = w.create(json::array({llm("Think"), tool("Boom", "fail_step"), llm("Never")}));
    const std::string runId = w.run(id)["run_id"];
    w.advance(60);
    w.advance(60);
    const json run = w.runOf(runId);
    EXPECT_EQ(run["status"], "error");
    EXPECT_EQ(run["error_message"], "Step 2 “Boom”: fail_step reported a failure.");
    EXPECT_EQ(statuses(run), (std::vector<std::string>{"done", "failed", "skipped"}));
    const json messages = w.chat(id);
    const auto steps = stepsOfRun(messages, runId);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(kindOf(steps[1]), "tool_error");
    EXPECT_EQ(steps[1]["content"], run["error_message"]);
    EXPECT_EQ(messages.back()["role"], "step"); // no result

    EXPECT_EQ(w.run(w.create(json::array({llm("A")}), {{"status", "paused"}}), json::object(), 409)["error"],
              "Activate the worker before running it.");
    EXPECT_EQ(w.run(w.create(json::array()), json::object(), 400)["error"], "The worker has no steps.");
    EXPECT_EQ(w.run(id, {{"delivery_agent_id", "a-gone"}}, 400)["error"], "Delivery employee not found");
    EXPECT_EQ(w.run("a-researcher", json::object(), 400)["error"], "Only workers can be run.");
    EXPECT_EQ(w.run("a-nobody", json::object(), 404)["error"], "Agent not found");
}

TEST(Workers, CancellingMidwayLeavesNoStepRunningAndDeletingTakesTheRunsAlong)
{
    LiveService s(kArgs);
    Workers w(s);
    const std::string id = w.run("a-morning-brief")["run_id"];
    w.advance(60);
    const std::string cancel = "/api/v2/workflow-runs/" + id + "/cancel";
    EXPECT_EQ(s.post(cancel, json::object()), (json{{"ok", true}, {"status", "cancelled"}}));
    w.advance(600); // nothing moves on after a cancel
    const json run = w.runOf(id);
    EXPECT_EQ(run["status"], "cancelled");
    EXPECT_EQ(statuses(run), (std::vector<std::string>{"done", "cancelled", "skipped"}));
    const auto steps = stepsOfRun(w.chat("a-morning-brief"), id);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(statusOf(steps[0]), "done");
    EXPECT_EQ(statusOf(steps[1]), "failed");
    EXPECT_EQ(steps[1]["metadata"]["cancelled"], true);
    EXPECT_EQ(w.chat("a-morning-brief").back()["role"], "step");
    EXPECT_EQ(s.post(cancel, json::object())["status"], "cancelled");
    EXPECT_EQ(s.post("/api/v2/workflow-runs/run-nope/cancel", json::object(), 404)["error"], "Run not found");

    w.send("DELETE", kBrief, "", 200);
    EXPECT_TRUE(w.runs("a-morning-brief").empty());
    s.get("/api/v2/workflow-runs/" + id, 404);
    EXPECT_EQ(w.send("DELETE", kBrief, "", 404)["error"], "Agent not found");
}

TEST(Workers, MarketplacePagesChainToTheEndAndAWorkflowIsAddedOnce)
{
    LiveService s;
    Workers w(s);
    std::set<std::string> ids;
    std::string cursor;
    for (int page = 0; page < 10; ++page) {
        const json answer = s.get("/api/v2/workflow-marketplace" + (cursor.empty() ? "" : "?cursor=" + cursor));
        for (const auto& item : answer["workflows"])
            ids.insert(item["id"].get<std::string>());
        if (!answer.contains("next_cursor"))
            break;
        cursor = answer["next_cursor"];
    }
    EXPECT_EQ(ids.size(), 20u);
    s.get("/api/v2/workflow-marketplace?cursor=x1", 400);

    const json added = s.post("/api/v2/workflow-marketplace/wf-pricing-digest/install", json::object(), 201);
    const json& copy = added["agent"];
    EXPECT_EQ(added["id"], copy["id"]);
    EXPECT_EQ(copy["agent_type"], "worker");
    EXPECT_EQ(copy["status"], "active");
    EXPECT_EQ(copy["workflow_marketplace_source_id"], "wf-pricing-digest");
    EXPECT_EQ(copy["trigger"], (json{{"type", "manual"}}));
    const json again = s.post("/api/v2/workflow-marketplace/wf-pricing-digest/install", json::object(), 409);
    EXPECT_EQ(again, (json{{"error", "Already added"}, {"installed_agent_id", copy["id"]}}));
    s.post("/api/v2/workflow-marketplace/wf-nope/install", json::object(), 404);
    const json first = s.get("/api/v2/workflow-marketplace")["workflows"][0];
    EXPECT_EQ(first["installed_agent_id"], copy["id"]);
    EXPECT_EQ(first["installs_count"], 1321);

    auto publish = [&](const std::string& agent, const std::string& body, int expect) {
        return w.send("PATCH", "/api/v2/custom-agents/" + agent + "/workflow-marketplace", body, expect);
    };
    EXPECT_EQ(publish(copy["id"], R"({"available":true})", 409)["error"],
              "A workflow taken from the Marketplace can’t be published again.");
    publish("a-researcher", R"({"available":true})", 400);
    publish("a-morning-brief", R"({"available":"yes"})", 400);
    EXPECT_EQ(publish("a-morning-brief", R"({"available":true})", 200), (json{{"ok", true}, {"available", true}}));
    const json last = s.get("/api/v2/workflow-marketplace?cursor=12")["workflows"].back();
    EXPECT_EQ(last["id"], "a-morning-brief");
    EXPECT_EQ(last["owned"], true);
    EXPECT_EQ(last["playbook_steps_count"], 3);
    // Everyone sees it, as someone else's.
    httplib::Client other("127.0.0.1", s.port);
    other.set_default_headers({{"Origin", s.origin()}, {"Cookie", s.signUp("other@example.com")}});
    EXPECT_EQ(json::parse(other.Get("/api/v2/workflow-marketplace?cursor=12")->body)["workflows"].back()["owned"],
              false);
    // They add it as a copy of its playbook; my runs stay mine.
    const auto theirs = other.Post("/api/v2/workflow-marketplace/a-morning-brief/install", "{}", "application/json");
    ASSERT_EQ(theirs->status, 201);
    EXPECT_EQ(json::parse(theirs->body)["agent"]["playbook"], s.get(kBrief)["playbook"]);
    EXPECT_EQ(s.get("/api/v2/workflow-marketplace?cursor=12")["workflows"].back()["installs_count"], 1);
    const std::string mine = w.run("a-morning-brief")["run_id"];
    EXPECT_EQ(other.Get("/api/v2/workflow-runs/" + mine)->status, 404);
    EXPECT_EQ(other.Post("/api/v2/workflow-runs/" + mine + "/cancel", "{}", "application/json")->status, 404);
    EXPECT_TRUE(json::parse(other.Get("/api/v2/workflow-runs")->body)["runs"].empty());
    EXPECT_EQ(s.get("/api/v2/workflow-runs?limit=500")["runs"].size(), 1u);

    publish("a-morning-brief", R"({"available":false})", 200);
    EXPECT_EQ(s.get("/api/v2/workflow-marketplace?cursor=12")["workflows"].size(), 8u);

    // A deleted copy can be added again.
    w.send("DELETE", "/api/v2/custom-agents/" + copy["id"].get<std::string>(), "", 200);
    s.post("/api/v2/workflow-marketplace/wf-pricing-digest/install", json::object(), 201);
}

TEST(Workers, HostileBodiesAreRefusedAndLeaveNothingBehind)
{
    LiveService s;
    Workers w(s);
    const std::string agent = "/api/v2/custom-agents/a-morning-brief";
    const std::pair<std::string, std::string> posts[] = {
        {agent + "/run", "{\"input\":"},
        {agent + "/run", R"({"input":42})"},
        {agent + "/run", R"({"conversation_id":{"a":1}})"},
        {agent + "/deploy", "[1,2]"},
        {agent + "/deploy", R"({"trigger_type":7})"},
        {"/api/v2/custom-agents/revise-draft", "not json"},
        {"/api/v2/custom-agents", R"({"agent_type":"worker","playbook":{"steps":1}})"},
        {"/api/v2/custom-agents", R"({"agent_type":"worker","trigger":{"type":"schedule","intervalMinutes":0}})"},
        {"/api/v2/custom-agents", R"({"agent_type":"worker","skills":[1]})"},
        {agent + "/run", std::string("{\"input\":\"\xff\xfe\"}")},
    };
    for (const auto& [path, body] : posts)
        w.send("POST", path, body, 400);
    w.send("PATCH", agent, R"({"playbook":null})", 400);
    w.send("PATCH", agent, R"({"autonomy_level":[1]})", 400);
    w.send("PATCH", agent + "/workflow-marketplace", "{", 400);
    w.send("POST", agent + "/run", "{\"input\":\"" + std::string(2 * 1024 * 1024, 'a') + "\"}", 413);
    s.get("/api/v2/workflow-runs?limit=abc", 400);

    // Nothing half-stored: the list still reads, the worker still runs.
    s.get("/api/v2/custom-agents");
    EXPECT_TRUE(w.runs("a-morning-brief").empty());
    EXPECT_EQ(w.dryRun("a-morning-brief")["ok"], true);
    w.send("PATCH", agent, R"({"autonomy_level":"supervised","skills":[{"name":"A"}],"trigger":{"type":"manual"}})",
           200);
    w.run("a-morning-brief");
}

TEST(Workers, ARunHoldsItsEstimateIsChargedPerStepAndAnEmptyWalletRefusesIt)
{
    LiveService s(kArgs);
    Workers w(s);
    const std::string id = w.run("a-morning-brief")["run_id"];
    const json during = s.get("/api/v2/user/wallet")["wallet"];
    EXPECT_EQ(during["held_credits"], 60) << "three steps held";
    for (int i = 0; i < 3; ++i)
        w.advance(60);
    ASSERT_EQ(w.runOf(id)["status"], "success");
    const json after = s.get("/api/v2/user/wallet");
    EXPECT_EQ(after["wallet"]["held_credits"], 0);
    EXPECT_EQ(after["recent_transactions"][0]["type"], "run_spend");
    EXPECT_DOUBLE_EQ(after["recent_transactions"][0]["amount_usd"].get<double>(), -0.03);

    s.post("/__test/wallet", {{"available_credits", 10}});
    const json refused = w.run("a-morning-brief", json::object(), 402);
    EXPECT_EQ(refused["error"], "Not enough tokens for this run. Top up your wallet to continue.");
    EXPECT_EQ(w.runs("a-morning-brief")[0]["status"], "error");
}
