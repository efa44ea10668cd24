// The demo project as the sidebar and the project screen read it: its list entry, the profile
// kept in its brief, and its goals.
#include "RunningService.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace service_test;

TEST(ProjectProfile, TheDemoProjectListsWithItsProfile)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const json projects = body(c.Get("/api/v2/projects"))["projects"];
    ASSERT_EQ(projects.size(), 1u);
    const json& p = projects[0];
    for (const char* key : {"id", "slug", "label", "brief", "status"})
        EXPECT_TRUE(p[key].is_string()) << key;
    EXPECT_TRUE(p["members_count"].is_number_integer());
    EXPECT_TRUE(p["settings"]["project_budget_usd_month"].is_number());
    const std::string brief = p["brief"];
    EXPECT_EQ(brief.rfind("Launch the spring release", 0), 0u);
    for (const char* key : {"product_audience", "desired_result", "competitors", "constraints"}) {
        const std::string start = std::string("<!-- tessal:field:") + key + ":start -->";
        const std::string end = std::string("<!-- tessal:field:") + key + ":end -->";
        const size_t from = brief.find(start), to = brief.find(end);
        ASSERT_TRUE(from != std::string::npos && to != std::string::npos) << key;
        // The start marker, the heading, a one-line value and the end marker.
        EXPECT_EQ(std::count(brief.begin() + long(from), brief.begin() + long(to), '\n'), 3) << key;
    }
}

TEST(ProjectProfile, GoalsOfAProjectNewestFirst)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const json goals = body(c.Get("/api/v2/projects/spring-launch/goals"))["goals"];
    ASSERT_EQ(goals.size(), 3u) << goals.dump();
    EXPECT_EQ(goals[0]["id"], "g-demo-signups");
    EXPECT_EQ(goals[0]["current"], 212);
    EXPECT_EQ(goals[0]["target"], 500);
    EXPECT_EQ(goals[1]["status"], "awaiting_review");
    EXPECT_EQ(goals[1]["pending_review"]["acceptance_status"], "pending");
    EXPECT_EQ(goals[2]["status"], "completed");
    // A project's goals are not an employee's, and an unknown project has none to show.
    EXPECT_EQ(body(c.Get("/api/v2/custom-agents/a-researcher/goals"))["goals"].size(), 0u);
    EXPECT_EQ(c.Get("/api/v2/projects/no-such/goals")->status, 404);
    EXPECT_EQ(svc.client().Get("/api/v2/projects/spring-launch/goals")->status, 401);

    auto created = c.Post("/api/v2/projects", R"({"label":"Autumn"})", "application/json");
    ASSERT_EQ(created->status, 201);
    EXPECT_EQ(body(c.Get("/api/v2/projects/autumn/goals"))["goals"], json::array());
}
