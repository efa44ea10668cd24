// Hostile bodies on the governance, connection and store routes: each is refused with a 400
// that says why, and nothing is stored that breaks a later answer. The vault's sealed secrets
// open only with the service's own key.
#include "ChatTestSupport.h"

#include "core/Service.h"
#include "governance/SecretVault.h"

#include <sodium.h>

#include <filesystem>

using namespace chattest;

namespace {

const std::string kBadUtf8 = "bad \xC3\x28 text";

struct Route {
    const char* method;
    const char* path;
    json valid; // a body the route accepts, spoiled field by field below
};

const Route kRoutes[] = {
    {"PUT", "/api/v2/custom-agents/a-support/mandate", {{"mandate", nullptr}}},
    {"POST", "/api/v2/user/email-channels", {{"custom_agent_id", "a-researcher"}, {"local_part", "desk"}}},
    {"POST",
     "/api/v2/user/twilio-channels",
     {{"custom_agent_id", "a-researcher"},
      {"account_sid", "AC1"},
      {"auth_token", "t"},
      {"phone_number", "+14155551000"}}},
    {"POST", "/api/v2/connected-accounts/nango-api-key", {{"connector_slug", "slack"}, {"api_key", "k"}}},
    {"POST", "/api/v2/user/external-api-keys", {{"suggestion_id", "newsapi"}, {"key", "k"}}},
};

int send(const LiveService& s, const Route& route, const std::string& body)
{
    auto c = s.client();
    auto r = std::string(route.method) == "PUT" ? c.Put(route.path, body, "application/json")
                                                : c.Post(route.path, body, "application/json");
    return r ? r->status : 0;
}

} // namespace

TEST(GovernanceHostile, MalformedWrongTypedHugeAndInvalidUtf8BodiesAreRefused)
{
    LiveService s;
    for (const Route& route : kRoutes) {
        for (const std::string& raw : {std::string("{not json"), std::string("[1,2]"), std::string("\"text\""),
                                       std::string(200'000, '{'), "{\"x\":\"" + kBadUtf8 + "\"}"})
            EXPECT_EQ(send(s, route, raw), 400) << route.path << " " << raw.substr(0, 20);
        json huge = route.valid;
        huge["padding"] = std::string(100'000, 'x');
        EXPECT_EQ(send(s, route, huge.dump()), 400) << route.path;
        for (const auto& [key, value] : route.valid.items()) {
            if (value.is_null())
                continue;
            json wrong = route.valid;
            wrong[key] = json::array({1});
            EXPECT_EQ(send(s, route, wrong.dump()), 400) << route.path << " " << key;
        }
        EXPECT_GE(send(s, route, route.valid.dump()), 200) << route.path;
        EXPECT_LT(send(s, route, route.valid.dump()), 300) << route.path;
    }
    // Store forms with invalid bytes are refused too.
    auto store = s.client();
    EXPECT_EQ(store.Post("/store/top-up", "amount_usd=%C3%28", "application/x-www-form-urlencoded")->status, 400);
    EXPECT_EQ(store.Post("/store/top-up", "{\"amount_usd\":", "application/json")->status, 400);

    for (const char* path :
         {"/api/v2/custom-agents/a-researcher/channels", "/api/v2/connected-accounts", "/api/v2/user/external-api-keys",
          "/api/v2/user/wallet", "/api/v2/user/plan", "/api/v2/custom-agents/a-support/mandate"})
        s.get(path);
    EXPECT_EQ(s.get("/api/v2/custom-agents/a-researcher/channels")["channels"].size(), 2u);
}

TEST(GovernanceHostile, SealedSecretsOpenOnlyWithTheServicesKey)
{
    ASSERT_GE(sodium_init(), 0);
    std::string pattern = (std::filesystem::temp_directory_path() / "halvex-vault-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    service::Service a, b;
    a.opt.dataDir = pattern;
    b.opt.dataDir = pattern + "/other";
    std::filesystem::create_directories(b.opt.dataDir);

    const std::string sealed = service::sealSecret(a, "twilio-token-42");
    EXPECT_EQ(sealed.find("twilio"), std::string::npos);
    EXPECT_NE(service::sealSecret(a, "twilio-token-42"), sealed) << "a fresh nonce every time";
    EXPECT_EQ(service::openSecret(a, sealed), "twilio-token-42");
    EXPECT_EQ(service::openSecret(b, sealed), std::nullopt);
    std::string tampered = sealed;
    tampered.back() = tampered.back() == '0' ? '1' : '0';
    EXPECT_EQ(service::openSecret(a, tampered), std::nullopt);
    EXPECT_EQ(service::openSecret(a, "zz"), std::nullopt);
    std::filesystem::remove_all(pattern);
}
