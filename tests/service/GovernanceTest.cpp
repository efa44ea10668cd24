// What governs an employee: its mandate, its tools, the kill switch that freezes its chat, and
// its call log.
#include "ChatTestSupport.h"

using namespace chattest;

namespace {

const char* kMandate = "/api/v2/custom-agents/a-researcher/mandate";

json mandate(json changes = json::object())
{
    json m{{"version", 3},
           {"af_level", 2},
           {"financial_authority", {{"max_standard_quote_usd", 500}, {"max_discount_pct", 5.5}}},
           {"communication_authority", {{"allowed_channels", {"email", "connectors"}}}},
           {"stop_conditions", {"policy_violation"}}};
    m.update(changes);
    return m;
}

int put(const LiveService& s, const std::string& path, const json& body)
{
    auto r = s.client().Put(path, body.dump(), "application/json");
    return r ? r->status : 0;
}

} // namespace

TEST(Mandate, RoundTripsClampsTheLevelAndClearsWithNull)
{
    LiveService s;
    EXPECT_EQ(s.get(kMandate)["mandate"], nullptr);

    json sent = mandate({{"af_level", 9}, {"note", "dropped"}});
    const std::string saved = s.client().Put(kMandate, json{{"mandate", sent}}.dump(), "application/json")->body;
    json expected = mandate({{"af_level", 5}});
    EXPECT_EQ(json::parse(saved)["mandate"], expected);
    EXPECT_EQ(s.get(kMandate)["mandate"], expected);

    EXPECT_EQ(put(s, kMandate, {{"mandate", mandate({{"af_level", -4}})}}), 200);
    EXPECT_EQ(s.get(kMandate)["mandate"]["af_level"], 0);
    // null allows every channel and sets no limit.
    json open
        = mandate({{"communication_authority", {{"allowed_channels", nullptr}}},
                   {"financial_authority", {{"max_standard_quote_usd", nullptr}, {"max_discount_pct", nullptr}}}});
    EXPECT_EQ(put(s, kMandate, {{"mandate", open}}), 200);
    EXPECT_EQ(s.get(kMandate)["mandate"], open);

    EXPECT_EQ(put(s, kMandate, {{"mandate", nullptr}}), 200);
    EXPECT_EQ(s.get(kMandate)["mandate"], nullptr);
}

TEST(Mandate, RefusesWhatCannotBeStoredAndOtherPeoplesEmployees)
{
    LiveService s;
    auto refused = [&](const json& body) {
        auto r = s.client().Put(kMandate, body.dump(), "application/json");
        return r && r->status == 400 ? json::parse(r->body)["error"].get<std::string>() : std::string("not refused");
    };
    json missing = mandate();
    missing.erase("stop_conditions");
    EXPECT_NE(refused({{"mandate", missing}}).find("stop_conditions"), std::string::npos);
    EXPECT_NE(refused({{"mandate", mandate({{"communication_authority", {{"allowed_channels", {"fax"}}}}})}})
                  .find("allowed_channels"),
              std::string::npos);
    EXPECT_NE(
        refused({{"mandate", mandate({{"financial_authority", {{"max_standard_quote_usd", -1}}}})}}).find("negative"),
        std::string::npos);
    EXPECT_NE(refused({{"mandate", mandate({{"af_level", "high"}})}}), "not refused");
    EXPECT_NE(refused({{"mandate", mandate({{"stop_conditions", {1, 2}}})}}), "not refused");
    EXPECT_NE(refused({{"mandate", "strict"}}), "not refused");
    EXPECT_NE(refused(json::object()), "not refused");
    EXPECT_EQ(s.get(kMandate)["mandate"], nullptr) << "nothing refused was stored";

    EXPECT_EQ(put(s, "/api/v2/custom-agents/a-nobody/mandate", {{"mandate", nullptr}}), 404);
    httplib::Client stranger("127.0.0.1", s.port);
    stranger.set_default_headers({{"Origin", s.origin()}, {"Cookie", s.signUp("stranger@example.com")}});
    EXPECT_EQ(stranger.Get(kMandate)->status, 404);
    EXPECT_EQ(stranger.Put(kMandate, json{{"mandate", mandate()}}.dump(), "application/json")->status, 404);
}

TEST(Governance, ToolsAreStoredExactlyAsSent)
{
    LiveService s;
    const json tools = json::array(
        {"web_search", {{"id", "send-email"}, {"name", "Email"}, {"category", "communication"}, {"n", {1, 2.5}}}});
    auto r = s.client().Patch("/api/v2/custom-agents/a-support", json{{"tools", tools}}.dump(), "application/json");
    ASSERT_EQ(r->status, 200) << r->body;
    EXPECT_EQ(s.get("/api/v2/custom-agents/a-support")["tools"], tools);
}

TEST(Governance, AFrozenEmployeeAnswersAtOnceWithoutWorkAndWorksAgainOnceResumed)
{
    LiveService s;
    const char* chat = "/api/v2/custom-agents/a-support/chat";
    StreamReader stream(s, std::string(chat) + "/stream");
    ASSERT_TRUE(stream.waitForReady());
    const json walletBefore = s.get("/api/v2/user/wallet")["wallet"];
    auto patch = [&](const char* status) {
        return s.client()
            .Patch("/api/v2/custom-agents/a-support", json{{"status", status}}.dump(), "application/json")
            ->status;
    };

    ASSERT_EQ(patch("draft"), 200);
    const json sent = s.post(chat, {{"text", "Check the open tickets"}});
    const json recent = s.get(std::string(chat) + "?limit=2")["messages"];
    ASSERT_EQ(recent.size(), 2u);
    EXPECT_EQ(recent[0], sent["message"]) << "the user's message is kept";
    EXPECT_EQ(recent[1]["role"], "assistant");
    EXPECT_EQ(recent[1]["content"], "Support Desk is frozen — no new work starts. Resume it in Settings › Guardrails.");
    EXPECT_EQ(s.get("/api/v2/user/wallet")["wallet"], walletBefore) << "nothing spent";

    ASSERT_EQ(patch("active"), 200);
    s.post(chat, {{"text", "Check the open tickets"}});
    ASSERT_TRUE(stream.waitFor([](const auto& e) { return hasTurnSpend(e); }));
    bool stepped = false;
    for (const auto& e : stream.messages())
        stepped |= e.data["role"] == "step";
    EXPECT_TRUE(stepped) << "a resumed employee works again";
    EXPECT_LT(s.get("/api/v2/user/wallet")["wallet"]["balance_credits"].get<double>(),
              walletBefore["balance_credits"].get<double>());
}

TEST(Governance, CallLogIsNewestFirstAndLimited)
{
    LiveService s;
    const json calls = s.get("/api/v2/voice/calls?agent_id=a-support&limit=2")["calls"];
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_GT(calls[0]["started_at"].get<std::string>(), calls[1]["started_at"].get<std::string>());
    for (const auto& call : calls)
        for (const char* key : {"id", "status", "title", "snippet", "started_at", "ended_at", "duration_secs"})
            EXPECT_TRUE(call.contains(key)) << key;
    EXPECT_EQ(s.get("/api/v2/voice/calls?agent_id=a-support")["calls"].size(), 3u);
    EXPECT_TRUE(s.get("/api/v2/voice/calls?agent_id=a-model-chat")["calls"].empty());
    s.get("/api/v2/voice/calls?agent_id=a-support&limit=many", 400);
    s.get("/api/v2/voice/calls?agent_id=a-nobody", 404);
}
