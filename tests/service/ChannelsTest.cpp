// How an employee is reached: an e-mail address under the service's domain and a phone number
// on a carrier, whose secrets never come back out, not even stored in the clear.
#include "ChatTestSupport.h"
#include "RunningService.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

using namespace chattest;

namespace {

const char* kEmail = "/api/v2/user/email-channels";

std::pair<int, json> postJson(const LiveService& s, const std::string& path, const json& body)
{
    auto r = s.client().Post(path, body.dump(), "application/json");
    return {r ? r->status : 0, r ? json::parse(r->body, nullptr, false) : json()};
}

std::string fileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

} // namespace

TEST(Channels, EmailAddressIsCheckedLoweredDerivedAndOnePerEmployee)
{
    LiveService s;
    for (const char* bad : {"-sales", "sales team", "s@les", "ünicode", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"}) {
        const auto [status, answer] = postJson(s, kEmail, {{"custom_agent_id", "a-researcher"}, {"local_part", bad}});
        EXPECT_EQ(status, 400) << bad;
        EXPECT_EQ(answer["error"], "Use letters, digits, dots and hyphens for the address.") << bad;
    }
    const auto [taken, refusal] = postJson(s, kEmail, {{"custom_agent_id", "a-researcher"}, {"local_part", "support"}});
    EXPECT_EQ(taken, 409);
    EXPECT_EQ(refusal["error"], "That address is taken.");

    const auto [created, answer]
        = postJson(s, kEmail, {{"custom_agent_id", "a-researcher"}, {"local_part", "Market.Research-1"}});
    ASSERT_EQ(created, 201);
    const json& channel = answer["channel"];
    EXPECT_EQ(channel["channel_type"], "email");
    EXPECT_EQ(channel["status"], "active");
    EXPECT_EQ(channel["display_name"], "market.research-1@agents.halvex.local");
    EXPECT_EQ(channel["metadata"], (json{{"address", "market.research-1@agents.halvex.local"}}));

    // A second address replaces the first; an empty one comes from the employee's name.
    EXPECT_EQ(postJson(s, kEmail, {{"custom_agent_id", "a-researcher"}, {"local_part", ""}}).first, 201);
    const json channels = s.get("/api/v2/custom-agents/a-researcher/channels")["channels"];
    ASSERT_EQ(channels.size(), 1u);
    EXPECT_EQ(channels[0]["display_name"], "researcher@agents.halvex.local");
    // The address given up is free again.
    EXPECT_EQ(postJson(s, kEmail, {{"custom_agent_id", "a-writer-growth"}, {"local_part", "market.research-1"}}).first,
              201);
    EXPECT_EQ(postJson(s, kEmail, {{"custom_agent_id", "a-nobody"}, {"local_part", "x"}}).first, 404);
}

TEST(Channels, CarrierFieldsAreRequiredByLabelAndNumbersMustLookRight)
{
    LiveService s;
    const json twilio{{"custom_agent_id", "a-support"}, {"account_sid", "AC123"}, {"phone_number", "+14155551212"}};
    const auto [missing, why] = postJson(s, "/api/v2/user/twilio-channels", twilio);
    EXPECT_EQ(missing, 400);
    EXPECT_EQ(why["error"], "Auth token is required.");
    json blank = twilio;
    blank["auth_token"] = "tok";
    blank["account_sid"] = "  ";
    EXPECT_EQ(postJson(s, "/api/v2/user/twilio-channels", blank).second["error"], "Account SID is required.");
    for (const char* bad : {"4155551212", "+1415", "+1 415 555 1212", "+1415555121212345"}) {
        json body = twilio;
        body["auth_token"] = "tok";
        body["phone_number"] = bad;
        const auto [status, answer] = postJson(s, "/api/v2/user/twilio-channels", body);
        EXPECT_EQ(status, 400) << bad;
        EXPECT_EQ(answer["error"], "Phone number must look like +14155551212.") << bad;
    }
    const json vonage{{"custom_agent_id", "a-support"}, {"api_key", "k"}, {"phone_number", "+447700900000"}};
    EXPECT_EQ(postJson(s, "/api/v2/user/vonage-channels", vonage).second["error"], "API secret is required.");
    EXPECT_TRUE(s.get("/api/v2/custom-agents/a-support/channels")["channels"].size() == 1u) << "only the seeded e-mail";
}

TEST(Channels, TelnyxNumberIsConnectedAndItsSecretsStaySealed)
{
    LiveService s;
    const std::string apiKey = "KEY0123-telnyx-secret", publicKey = "PUB-telnyx-secret-key";
    const json body{{"custom_agent_id", "a-support"},
                    {"api_key", apiKey},
                    {"public_key", publicKey},
                    {"phone_number", "+14155550123"}};
    auto r = s.client().Post("/api/v2/user/telnyx-channels", body.dump(), "application/json");
    ASSERT_EQ(r->status, 201) << r->body;
    const json channel = json::parse(r->body)["channel"];
    EXPECT_EQ(channel["channel_type"], "telnyx_voice");
    EXPECT_EQ(channel["status"], "active");
    EXPECT_EQ(channel["display_name"], "+14155550123");
    EXPECT_EQ(channel["metadata"], (json{{"phone_number", "+14155550123"}, {"carrier", "telnyx"}}));

    std::string answers = r->body;
    for (const char* path : {"/api/v2/custom-agents/a-support/channels", "/api/v2/connected-accounts",
                             "/api/v2/custom-agents/a-support", "/api/v2/user/external-api-keys"})
        answers += s.client().Get(path)->body;
    EXPECT_EQ(s.get("/api/v2/custom-agents/a-support/channels")["channels"].size(), 2u);
    for (const std::string& secret : {apiKey, publicKey})
        EXPECT_EQ(answers.find(secret), std::string::npos) << secret;

    // Another employee cannot take the same number.
    json again = body;
    again["custom_agent_id"] = "a-researcher";
    EXPECT_EQ(postJson(s, "/api/v2/user/telnyx-channels", again).first, 409);
}

TEST(Channels, SecretsAreNotStoredInTheClear)
{
    service_test::RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const std::string token = "plivo-auth-token-in-the-clear";
    const json body{{"custom_agent_id", "a-support"},
                    {"auth_id", "MA1"},
                    {"auth_token", token},
                    {"phone_number", "+14155550999"}};
    ASSERT_EQ(c.Post("/api/v2/user/plivo-channels", body.dump(), "application/json")->status, 201);
    for (const auto& entry : std::filesystem::directory_iterator(svc.dataDir())) {
        if (entry.is_regular_file()) {
            EXPECT_EQ(fileText(entry.path()).find(token), std::string::npos) << entry.path();
        }
    }
}

TEST(Channels, AgentPhoneProvisionsANumberInTheAreaAskedFor)
{
    LiveService s;
    const auto [status, answer]
        = postJson(s, "/api/v2/user/agentphone-channels",
                   {{"custom_agent_id", "a-researcher"}, {"api_key", "ap_1"}, {"area_code", "212"}});
    ASSERT_EQ(status, 201);
    const std::string number = answer["channel"]["display_name"];
    EXPECT_TRUE(std::regex_match(number, std::regex(R"(\+1212555\d{4})"))) << number;
    EXPECT_EQ(answer["channel"]["channel_type"], "agentphone_voice");
    EXPECT_EQ(answer["channel"]["metadata"]["carrier"], "agentphone");
    EXPECT_EQ(postJson(s, "/api/v2/user/agentphone-channels", {{"custom_agent_id", "a-researcher"}}).second["error"],
              "API key is required.");
    EXPECT_EQ(postJson(s, "/api/v2/user/agentphone-channels",
                       {{"custom_agent_id", "a-researcher"}, {"api_key", "ap_1"}, {"area_code", "21"}})
                  .first,
              400);
}
