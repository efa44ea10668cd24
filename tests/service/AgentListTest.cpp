// The employee list, records and patches as the client decodes them.
#include "RunningService.h"

#include <gtest/gtest.h>

using namespace service_test;

namespace {

const json* agentIn(const json& list, const std::string& id)
{
    for (const auto& a : list["agents"])
        if (a["id"] == id)
            return &a;
    return nullptr;
}

} // namespace

TEST(AgentList, UnreadCountsSplitBetweenEmployeesAndTeamConversations)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const json list = body(c.Get("/api/v2/custom-agents?include_activity=1"));
    EXPECT_EQ(list["unread"], (json{{"a-researcher", 1}, {"a-writer-growth", 1}}));
    // The team's count is keyed by its slug, camel-case key, and never doubles as an employee count.
    EXPECT_EQ(list["orchestratorUnread"], (json{{"growth", 0}}));
    EXPECT_FALSE(list["unread"].contains("a-orchestrator-growth"));
    EXPECT_TRUE(list["activity"]["a-researcher"]["last_message_at"].is_string());
    EXPECT_EQ(agentIn(list, "a-retired"), nullptr);
    ASSERT_NE(agentIn(list, "a-support"), nullptr);
    EXPECT_EQ((*agentIn(list, "a-support"))["pinned"], true);
    for (const auto& a : list["agents"]) {
        EXPECT_TRUE(a["id"].is_string());
        EXPECT_TRUE(a["name"].is_string());
    }
    EXPECT_FALSE(body(c.Get("/api/v2/custom-agents")).contains("activity"));
}

TEST(AgentList, PatchChecksTypesAndKeepsCapabilities)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const std::string path = "/api/v2/custom-agents/a-researcher";
    for (const char* bad : {R"({"name": 5})", R"({"name": "  "})", R"({"capabilities": "loop"})",
                            R"({"pinned": "yes"})", R"({"tools": {}})", "{\"name\":"})
        EXPECT_EQ(c.Patch(path.c_str(), bad, "application/json")->status, 400) << bad;

    const json caps{{"loop_mode", true}, {"loop_max_iterations", 5}, {"other_screen_key", "kept"}};
    ASSERT_EQ(
        c.Patch(path.c_str(),
                json{{"capabilities", caps}, {"voice_id", "nPczCjzI2devNBz1zQrb"}, {"openai_voice", nullptr}}.dump(),
                "application/json")
            ->status,
        200);
    const json detail = body(c.Get(path.c_str()));
    EXPECT_EQ(detail["capabilities"], caps);
    EXPECT_EQ(detail["voice_id"], "nPczCjzI2devNBz1zQrb");
    EXPECT_EQ(detail["name"], "Researcher"); // untouched by the refused patches

    EXPECT_EQ(c.Patch("/api/v2/custom-agents/a-nobody", "{}", "application/json")->status, 404);
    EXPECT_EQ(body(c.Get("/api/v2/custom-agents/a-nobody"))["error"], "Agent not found");
    EXPECT_EQ(svc.client().Get(path.c_str())->status, 401);
}

TEST(AgentList, ModelChatIsCreatedWithTheBodyItWasGiven)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const json request{{"name", "Trip ideas"},         {"agent_type", "employee"}, {"preset_kind", "model_chat"},
                       {"status", "active"},           {"trigger_type", "manual"}, {"tools", json::array()},
                       {"system_prompt", "Be brief."}, {"llm_provider", "halvex"}, {"llm_model", "gemini-2.5-pro"}};
    auto created = c.Post("/api/v2/custom-agents", request.dump(), "application/json");
    ASSERT_EQ(created->status, 201);
    const json agent = body(created);
    EXPECT_EQ(agent["preset_kind"], "model_chat");
    EXPECT_EQ(agent["llm_model"], "gemini-2.5-pro");
    ASSERT_NE(agentIn(body(c.Get("/api/v2/custom-agents")), agent["id"]), nullptr);

    // Archiving takes it off the list.
    c.Patch(("/api/v2/custom-agents/" + agent["id"].get<std::string>()).c_str(), R"({"status":"archived"})",
            "application/json");
    EXPECT_EQ(agentIn(body(c.Get("/api/v2/custom-agents")), agent["id"]), nullptr);
}
