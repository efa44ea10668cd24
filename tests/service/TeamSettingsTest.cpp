// Team settings, roster changes and usage.
#include "RunningService.h"

#include <gtest/gtest.h>

using namespace service_test;

TEST(TeamSettings, ARefusedKeyLeavesEveryOtherSettingAsItWas)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    auto refused
        = c.Patch("/api/v2/teams/growth", R"({"handoff_depth": 5, "reviewer_handle": "nobody"})", "application/json");
    EXPECT_EQ(refused->status, 400);
    EXPECT_EQ(body(refused)["error"], "No member of this team has the handle @nobody");
    EXPECT_EQ(body(c.Get("/api/v2/orchestrator-chat/growth"))["handoff_depth"], 2);

    const json loop{
        {"loop_mode", false},       {"loop_max_iterations", 6},       {"loop_max_tokens", 0},
        {"loop_max_cost_usd", 1.5}, {"loop_quality_threshold", 70.0}, {"loop_stop_on_no_improvement", false}};
    auto saved = c.Patch("/api/v2/teams/growth", loop.dump(), "application/json");
    ASSERT_EQ(saved->status, 200) << saved->body;
    EXPECT_EQ(body(saved)["group_slug"], "growth");
    c.Patch("/api/v2/teams/growth", R"({"reviewer_handle": "@writer", "budget_usd_month": 12.5})", "application/json");

    const json team = body(c.Get("/api/v2/orchestrator-chat/growth"));
    EXPECT_EQ(team["loop"],
              (json{{"enabled", false},
                    {"max_iterations", 6},
                    {"max_tokens", 0},
                    {"max_cost_usd", 1.5},
                    {"quality_threshold", 70},
                    {"stop_on_no_improvement", false}}));
    EXPECT_EQ(team["budget_usd_month"], 12.5);
    ASSERT_EQ(team["agents"].size(), 2u);
    EXPECT_EQ(team["agents"][0]["handle"], "writer");
    EXPECT_EQ(team["agents"][0]["is_reviewer"], true);
    EXPECT_EQ(team["agents"][1]["is_reviewer"], false);

    EXPECT_EQ(c.Patch("/api/v2/teams/growth", R"({"loop_max_iterations": 0})", "application/json")->status, 400);
    EXPECT_EQ(c.Patch("/api/v2/teams/nowhere", "{}", "application/json")->status, 404);
}

TEST(TeamSettings, HiredMemberFollowsTheNamingRuleAndRemovedMemberLeaves)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    EXPECT_EQ(c.Post("/api/v2/teams/growth/members", R"({"brief": "   "})", "application/json")->status, 400);
    auto added = c.Post("/api/v2/teams/growth/members", R"({"brief": "SEO writer for the blog. Weekly posts."})",
                        "application/json");
    ASSERT_EQ(added->status, 200) << added->body;
    const json member = body(added)["member"];
    EXPECT_EQ(member["handle"], "seo-writer");
    EXPECT_EQ(member["name"], "seo-writer-growth");
    EXPECT_EQ(member["role"], "SEO writer for the blog");

    const std::string id = member["id"];
    auto removed
        = c.Patch(("/api/v2/teams/growth/members/" + id).c_str(), R"({"action":"remove"})", "application/json");
    ASSERT_EQ(removed->status, 200);
    const json agent = body(c.Get(("/api/v2/custom-agents/" + id).c_str()));
    EXPECT_TRUE(agent["agent_group"].is_null());
    EXPECT_EQ(agent["name"], "seo-writer");
    EXPECT_EQ(
        c.Patch(("/api/v2/teams/growth/members/" + id).c_str(), R"({"action":"remove"})", "application/json")->status,
        404);
    EXPECT_EQ(
        c.Patch("/api/v2/teams/growth/members/a-writer-growth", R"({"action":"dance"})", "application/json")->status,
        400);
}

TEST(TeamSettings, UsageAddsUpTheMembers)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const json usage = body(c.Get("/api/v2/teams/growth/usage"));
    EXPECT_EQ(usage["total"]["tokens"], 277500);
    EXPECT_EQ(usage["total"]["calls"], 58);
    ASSERT_EQ(usage["members"].size(), 2u);
    EXPECT_EQ(usage["members"][1]["handle"], "analyst");
    EXPECT_EQ(usage["members"][1]["agent_id"], "a-analyst-growth");
}
