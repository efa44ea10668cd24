// The apps and outside APIs an employee works with: the catalogue and its logos, an app connected
// with a key and disconnected, outside API keys added and removed; no secret in any answer.
#include "ChatTestSupport.h"

using namespace chattest;

TEST(Connections, CatalogueNamesEveryAppWithALogoTheServiceDraws)
{
    LiveService s;
    const json connectors = s.get("/api/v2/connectors")["connectors"];
    ASSERT_GE(connectors.size(), 20u);
    std::set<std::string> categories;
    for (const auto& c : connectors) {
        for (const char* key : {"id", "name", "slug", "category", "logo_url", "auth_type", "nango_auth_type"})
            EXPECT_TRUE(c.contains(key)) << key;
        categories.insert(c["category"].get<std::string>());
    }
    EXPECT_GE(categories.size(), 7u);
    const std::string logo = connectors[0]["logo_url"];
    ASSERT_EQ(logo.rfind(s.origin() + "/connectors/logos/", 0), 0u) << logo;
    httplib::Client plain("127.0.0.1", s.port);
    auto image = plain.Get(logo.substr(s.origin().size()));
    ASSERT_EQ(image->status, 200);
    EXPECT_EQ(image->get_header_value("Content-Type"), "image/svg+xml");
    EXPECT_EQ(image->body.rfind("<svg", 0), 0u);
    EXPECT_EQ(plain.Get("/connectors/logos/nothing.svg")->status, 404);
}

TEST(Connections, AnAppConnectedWithAKeyIsListedWithoutItsSecretsAndDisconnected)
{
    LiveService s;
    const std::string key = "sk-live-notion-secret", password = "hunter2-password";
    const size_t before = s.get("/api/v2/connected-accounts")["connected_accounts"].size();
    auto post = [&](const json& body) {
        return s.client().Post("/api/v2/connected-accounts/nango-api-key", body.dump(), "application/json");
    };
    auto unknown = post({{"connector_slug", "fax-machine"}, {"api_key", key}});
    EXPECT_EQ(unknown->status, 404);
    EXPECT_EQ(json::parse(unknown->body)["error"], "Connector not found");
    auto empty = post({{"connector_slug", "notion"}, {"api_key", "  "}});
    EXPECT_EQ(empty->status, 400);
    EXPECT_EQ(json::parse(empty->body)["error"], "An API key is required.");

    auto created
        = post({{"connector_slug", "notion"}, {"api_key", key}, {"username", "ops@acme.test"}, {"password", password}});
    ASSERT_EQ(created->status, 201) << created->body;
    const json account = json::parse(created->body)["connected_account"];
    EXPECT_EQ(account["connector_slug"], "notion");
    EXPECT_EQ(account["status"], "active");
    EXPECT_EQ(account["display_name"], "Notion (ops@acme.test)");
    const json listed = s.get("/api/v2/connected-accounts?agent_id=a-support")["connected_accounts"];
    ASSERT_EQ(listed.size(), before + 1);
    EXPECT_EQ(listed.back(), account);
    for (const std::string& secret : {key, password}) {
        EXPECT_EQ(created->body.find(secret), std::string::npos);
        EXPECT_EQ(listed.dump().find(secret), std::string::npos);
    }

    const std::string path = "/api/v2/connected-accounts?id=" + account["id"].get<std::string>();
    EXPECT_EQ(s.client().Delete(path)->status, 200);
    EXPECT_EQ(s.get("/api/v2/connected-accounts")["connected_accounts"].size(), before);
    EXPECT_EQ(s.client().Delete(path)->status, 404);
}

TEST(Connections, OutsideApiKeysAreAddedReplacedAndRemovedWithoutTheKey)
{
    LiveService s;
    const json catalog = s.get("/api/v2/user/external-api-keys/catalog")["entries"];
    ASSERT_GE(catalog.size(), 10u);
    const std::string slug = catalog[0]["slug"];
    auto add = [&](const json& body) {
        return s.client().Post("/api/v2/user/external-api-keys", body.dump(), "application/json");
    };
    EXPECT_EQ(add({{"suggestion_id", "no-such-api"}, {"key", "k"}})->status, 404);
    auto empty = add({{"suggestion_id", slug}, {"key", ""}});
    EXPECT_EQ(empty->status, 400);
    EXPECT_EQ(json::parse(empty->body)["error"], "A key is required.");

    ASSERT_EQ(add({{"suggestion_id", slug}, {"key", "first-outside-key"}})->status, 201);
    auto added = add({{"suggestion_id", slug}, {"key", "second-outside-key"}});
    ASSERT_EQ(added->status, 201);
    const json keys = s.get("/api/v2/user/external-api-keys")["external_api_keys"];
    ASSERT_EQ(keys.size(), 1u) << "adding again replaces the key";
    EXPECT_EQ(keys[0]["slug"], slug);
    EXPECT_EQ(keys[0]["suggestion_id"], slug);
    EXPECT_EQ(keys[0]["label"], catalog[0]["label"]);
    EXPECT_EQ(keys[0]["is_valid"], true);
    EXPECT_EQ(keys.dump().find("outside-key"), std::string::npos);
    EXPECT_EQ(added->body.find("outside-key"), std::string::npos);

    const std::string path = "/api/v2/user/external-api-keys/" + keys[0]["id"].get<std::string>();
    EXPECT_EQ(s.client().Delete(path)->status, 200);
    EXPECT_TRUE(s.get("/api/v2/user/external-api-keys")["external_api_keys"].empty());
    EXPECT_EQ(s.client().Delete(path)->status, 404);
}

TEST(Connections, EveryRouteNeedsASessionAndPayoutsAreListed)
{
    LiveService s;
    const json payouts = s.get("/api/v2/user/payment-accounts")["payment_accounts"];
    ASSERT_EQ(payouts.size(), 1u);
    EXPECT_EQ(payouts[0]["is_valid"], true);
    for (const char* path : {"/api/v2/connectors", "/api/v2/connected-accounts", "/api/v2/user/payment-accounts",
                             "/api/v2/user/external-api-keys", "/api/v2/user/wallet", "/api/v2/user/plan",
                             "/api/v2/voice/calls", "/api/v2/custom-agents/a-support/mandate"})
        EXPECT_EQ(s.client(false).Get(path)->status, 401) << path;
}
