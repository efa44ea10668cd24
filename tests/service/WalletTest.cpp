// Money: a turn charged what its usage line says and counted in the month's plan usage; a turn
// refused with 402 when the wallet is too low, then a top-up through the web store; plans.
#include "ChatTestSupport.h"

using namespace chattest;

namespace {

const char* kSupport = "/api/v2/custom-agents/a-support/chat";

double available(const LiveService& s) { return s.get("/api/v2/user/wallet")["wallet"]["available_credits"]; }

// A client without the API's session, the way a browser first opens the store.
httplib::Client browser(const LiveService& s, const std::string& cookie = {})
{
    httplib::Client c("127.0.0.1", s.port);
    if (!cookie.empty())
        c.set_default_headers({{"Cookie", cookie}});
    return c;
}

} // namespace

TEST(Wallet, ATurnIsChargedItsCostAndCountsInTheMonthsUsage)
{
    LiveService s;
    // A fresh month: the seeded history lies behind it.
    s.post("/__test/clock", {{"advance_seconds", 40 * 86400}});
    EXPECT_EQ(s.get("/api/v2/user/plan")["usage"]["spent_usd"], 0.0);
    const json before = s.get("/api/v2/user/wallet")["wallet"];
    EXPECT_EQ(before["available_credits"],
              before["balance_credits"].get<double>() - before["held_credits"].get<double>());

    StreamReader stream(s, std::string(kSupport) + "/stream");
    ASSERT_TRUE(stream.waitForReady());
    s.post(kSupport, {{"text", "Summarise the open tickets"}});
    ASSERT_TRUE(stream.waitFor([](const auto& e) { return hasTurnSpend(e); }));
    double cost = 0;
    for (const auto& e : stream.messages())
        if (kindOf(e.data) == "turn_spend")
            cost = e.data["metadata"]["cost_usd"];
    ASSERT_GT(cost, 0);

    const json wallet = s.get("/api/v2/user/wallet");
    EXPECT_NEAR(before["balance_credits"].get<double>() - wallet["wallet"]["balance_credits"].get<double>(),
                cost * 2000, 1e-6);
    const json& charge = wallet["recent_transactions"][0];
    EXPECT_EQ(charge["type"], "turn_spend");
    EXPECT_EQ(charge["description"], "Turn with Support Desk");
    EXPECT_NEAR(charge["amount_usd"].get<double>(), -cost, 1e-9);

    const json usage = s.get("/api/v2/user/plan")["usage"];
    EXPECT_NEAR(usage["spent_usd"].get<double>(), cost, 1e-9);
    EXPECT_NEAR(usage["spent_tokens"].get<double>(), cost * 20, 0.006) << "hundreds of tokens";
    EXPECT_EQ(usage["token_limit"], 2500);
    EXPECT_NEAR(usage["tokens_left"].get<double>(), 2500 - cost * 20, 0.006);
}

TEST(Wallet, ALowBalanceRefusesTheTurnUntilATopUpInTheStore)
{
    LiveService s;
    s.post("/__test/wallet", {{"available_credits", 19}});
    EXPECT_EQ(available(s), 19);
    const size_t stored = s.get(std::string(kSupport) + "?limit=200")["messages"].size();
    auto refused = s.client().Post(kSupport, json{{"text", "Summarise the quarter"}}.dump(), "application/json");
    ASSERT_EQ(refused->status, 402);
    const json why = json::parse(refused->body);
    EXPECT_EQ(why["error"], "Not enough tokens for this turn. Top up your wallet to continue.");
    EXPECT_EQ(why["required_usd"], 0.01);
    EXPECT_EQ(why["available_usd"], 0.0095);
    EXPECT_EQ(s.get(std::string(kSupport) + "?limit=200")["messages"].size(), stored) << "nothing is stored";

    // The browser has no session yet: the store asks to sign in, then comes back.
    auto page = browser(s).Get("/store/top-up");
    ASSERT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("action=\"/store/sign-in\""), std::string::npos);
    EXPECT_EQ(browser(s).Post("/store/top-up", "amount_usd=10", "application/x-www-form-urlencoded")->status, 401);
    auto wrong = browser(s).Post("/store/sign-in", "email=demo%40halvex.local&password=nope&next=%2Fstore%2Ftop-up",
                                 "application/x-www-form-urlencoded");
    EXPECT_EQ(wrong->status, 401);
    auto signedIn
        = browser(s).Post("/store/sign-in", "email=demo%40halvex.local&password=demo-password&next=%2Fstore%2Ftop-up",
                          "application/x-www-form-urlencoded");
    ASSERT_EQ(signedIn->status, 303);
    EXPECT_EQ(signedIn->get_header_value("Location"), "/store/top-up");
    const std::string cookie
        = signedIn->get_header_value("Set-Cookie").substr(0, signedIn->get_header_value("Set-Cookie").find(';'));
    auto store = browser(s, cookie);
    EXPECT_NE(store.Get("/store/top-up")->body.find("Top up your wallet"), std::string::npos);

    for (const char* amount : {"0.5", "1000.01", "ten", ""}) {
        auto r = store.Post("/store/top-up", std::string("amount_usd=") + amount, "application/x-www-form-urlencoded");
        EXPECT_EQ(r->status, 400) << amount;
    }
    EXPECT_EQ(available(s), 19) << "refused amounts add nothing";
    auto topUp = store.Post("/store/top-up", "amount_usd=25", "application/x-www-form-urlencoded");
    ASSERT_EQ(topUp->status, 200);
    EXPECT_NE(topUp->body.find("Added ◆ 50,000 to your wallet. You can go back to Halvex."), std::string::npos);
    EXPECT_EQ(available(s), 50019);
    const json entry = s.get("/api/v2/user/wallet")["recent_transactions"][0];
    EXPECT_EQ(entry["type"], "top_up");
    EXPECT_EQ(entry["amount_usd"], 25.0);

    EXPECT_EQ(s.client().Post(kSupport, json{{"text", "Summarise the quarter"}}.dump(), "application/json")->status,
              200);
}

TEST(Wallet, PlansAreSwitchedInTheStoreWithoutACharge)
{
    LiveService s;
    const double before = available(s);
    auto store = s.client();
    EXPECT_NE(store.Get("/store/plans")->body.find("Switch to Scale"), std::string::npos);
    EXPECT_EQ(store.Post("/store/plans", R"({"plan":"platinum"})", "application/json")->status, 400);
    auto switched = store.Post("/store/plans", R"({"plan":"starter"})", "application/json");
    ASSERT_EQ(switched->status, 200);
    EXPECT_NE(switched->body.find("You are now on the Starter plan."), std::string::npos);
    const json plan = s.get("/api/v2/user/plan");
    EXPECT_EQ(plan["plan"]["key"], "starter");
    EXPECT_EQ(plan["plan"]["token_limit"], 500);
    EXPECT_EQ(plan["plans"].size(), 3u);
    const json entry = s.get("/api/v2/user/wallet")["recent_transactions"][0];
    EXPECT_EQ(entry["type"], "plan_change");
    EXPECT_EQ(entry["amount_usd"], 0.0);
    EXPECT_EQ(available(s), before);
    // A form from another site never reaches the account.
    auto foreign = browser(s, s.cookie);
    foreign.set_default_headers({{"Cookie", s.cookie}, {"Origin", "https://elsewhere.example"}});
    EXPECT_EQ(foreign.Post("/store/plans", "plan=scale", "application/x-www-form-urlencoded")->status, 403);
    EXPECT_EQ(s.get("/api/v2/user/plan")["plan"]["key"], "starter");
}

TEST(Wallet, ANewAccountStartsWithAWelcomeGrantAndAMonthOfDemoHistoryIsSeeded)
{
    LiveService s;
    const json demo = s.get("/api/v2/user/wallet")["recent_transactions"];
    size_t spends = 0;
    for (const auto& t : demo)
        spends += t["type"] == "turn_spend";
    EXPECT_EQ(spends, 30u);

    httplib::Client fresh("127.0.0.1", s.port);
    fresh.set_default_headers({{"Origin", s.origin()}, {"Cookie", s.signUp("new@example.com")}});
    const json wallet = json::parse(fresh.Get("/api/v2/user/wallet")->body);
    EXPECT_EQ(wallet["wallet"]["available_credits"], 10000.0);
    ASSERT_EQ(wallet["recent_transactions"].size(), 1u);
    EXPECT_EQ(wallet["recent_transactions"][0]["type"], "grant");
}
