// Hiring: an employee or a team created from the bodies the create flow sends, the
// marketplace's catalogue and its hire-by-clone, the model keys list and the avatars.
#include "RunningService.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace service_test;

namespace {

const json* agentIn(const json& list, const std::string& id)
{
    for (const auto& a : list["agents"])
        if (a["id"] == id)
            return &a;
    return nullptr;
}

// The employee's first reply; the turn runs on the service's own thread, so this only guards a hang.
bool answers(httplib::Client& c, const std::string& id)
{
    const std::string path = "/api/v2/custom-agents/" + id + "/chat";
    if (c.Post(path.c_str(), R"({"text":"Hello, who are you?"})", "application/json")->status != 200)
        return false;
    for (int i = 0; i < 500; ++i) {
        const json history = body(c.Get(path.c_str()));
        for (const auto& m : history["messages"])
            if (m["role"] == "assistant")
                return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

json employeeBody()
{
    return {{"name", "Nova"},
            {"system_prompt", "You are Nova."},
            {"agent_type", "employee"},
            {"status", "active"},
            {"trigger_type", "manual"},
            {"avatar_url", "http://127.0.0.1/9.x/notionists/svg?seed=Nova&backgroundColor=ede9fe"},
            {"description", "Writes the newsletter."},
            {"role", "Email marketing specialist"},
            {"work_profile", {{"mission", "Own the newsletter."}}},
            {"constraints", {"Never email without opt-in."}},
            {"generated_skills",
             json::array({{{"name", "Subject lines"}, {"description", "Ranks them"}, {"content", "Draft eight."}}})},
            {"knowledge_base", "Short emails win."},
            {"knowledge_urls", {"https://example.com/guide"}},
            {"tools", {"gmail"}},
            {"llm_provider", "halvex"},
            {"llm_model", "gemini-2.5-pro"}};
}

} // namespace

TEST(Hiring, EmployeeFromADraftIsListedChattableAndJoinsItsProject)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    json request = employeeBody();
    request["project_slug"] = "spring-launch";
    auto created = c.Post("/api/v2/custom-agents", request.dump(), "application/json");
    ASSERT_EQ(created->status, 201) << created->body;
    const std::string id = body(created)["id"];
    const json list = body(c.Get("/api/v2/custom-agents?include_activity=1"));
    const json* listed = agentIn(list, id);
    ASSERT_NE(listed, nullptr);
    EXPECT_EQ((*listed)["name"], "Nova");
    EXPECT_EQ((*listed)["is_employer"], true);
    EXPECT_TRUE((*listed)["preset_kind"].is_null());
    EXPECT_EQ((*listed)["resolved_llm_model"], "gemini-2.5-pro");
    EXPECT_EQ((*listed)["generated_skills"], request["generated_skills"]);
    bool member = false;
    const json members = body(c.Get("/api/v2/projects/spring-launch/members"));
    for (const auto& m : members["members"])
        member = member || (m["member_kind"] == "agent" && m["agent"]["id"] == id);
    EXPECT_TRUE(member);
    EXPECT_TRUE(answers(c, id));

    request["project_slug"] = "nowhere";
    EXPECT_EQ(c.Post("/api/v2/custom-agents", request.dump(), "application/json")->status, 404);
    for (const auto& [key, bad] : std::vector<std::pair<std::string, json>>{{"work_profile", "text"},
                                                                            {"constraints", {1, 2}},
                                                                            {"generated_skills", {"x"}},
                                                                            {"schedule_interval_minutes", 0},
                                                                            {"role", std::string(100001, 'r')}}) {
        json refused = employeeBody();
        refused[key] = bad;
        EXPECT_EQ(c.Post("/api/v2/custom-agents", refused.dump(), "application/json")->status, 400) << key;
    }
    EXPECT_EQ(c.Post("/api/v2/custom-agents", std::string(2 * 1024 * 1024, ' '), "application/json")->status, 413);
}

TEST(Hiring, TeamFromADraftHasItsRosterItsLeadAndAUniqueName)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const auto member = [](const std::string& name, const std::string& role) {
        return json{{"name", name},
                    {"system_prompt", "You are @" + name},
                    {"user_metadata_md", "# Role: " + role},
                    {"tools", {"web_search"}},
                    {"capabilities", {{"member_out", "drafts"}, {"member_boundaries", "publishing"}}},
                    {"role", role},
                    {"description", "Publish useful pieces."}};
    };
    const json team{{"label", "Content Studio"},
                    {"pipeline_md", "# Content Studio"},
                    {"members", {member("writer-content-studio", "Writer"), member("editor-content-studio", "Editor")}},
                    {"team_work_profile", {{"mission", "Publish weekly"}}},
                    {"project_slug", "spring-launch"}};
    auto created = c.Post("/api/v2/teams", team.dump(), "application/json");
    ASSERT_EQ(created->status, 201) << created->body;
    EXPECT_EQ(body(created)["group_slug"], "content-studio");

    const json chat = body(c.Get("/api/v2/orchestrator-chat/content-studio"));
    ASSERT_EQ(chat["agents"].size(), 2u);
    EXPECT_EQ(chat["agents"][0]["handle"], "writer");
    EXPECT_EQ(chat["agents"][1]["role"], "Editor");
    EXPECT_EQ(chat["group_label"], "Content Studio");
    const json list = body(c.Get("/api/v2/custom-agents"));
    int lead = 0;
    for (const auto& a : list["agents"])
        lead += a["agent_group"] == "Content Studio" && a["is_orchestrator"] == true;
    EXPECT_EQ(lead, 1);

    auto twice = c.Post("/api/v2/teams", team.dump(), "application/json");
    EXPECT_EQ(twice->status, 409);
    EXPECT_EQ(body(twice)["error"], "A team called “Content Studio” already exists — pick another name.");

    // A Cyrillic label: the app names members with its transliterated slug; the roster still finds the handles.
    const json sales{{"label", "Отдел продаж"}, {"members", {member("closer-otdel-prodazh", "Closer")}}};
    auto cyr = c.Post("/api/v2/teams", sales.dump(), "application/json");
    ASSERT_EQ(cyr->status, 201) << cyr->body;
    const std::string slug = body(cyr)["group_slug"];
    EXPECT_EQ(body(c.Get(("/api/v2/orchestrator-chat/" + slug).c_str()))["agents"][0]["handle"], "closer");

    for (const json& bad :
         {json{{"label", "  "}, {"members", {member("a", "A")}}}, json{{"label", "Empty"}, {"members", json::array()}},
          json{{"label", "Odd"}, {"members", {json{{"name", 5}}}}},
          json{{"label", "Odd"}, {"members", {member("a", "A")}}, {"team_work_profile", 3}}})
        EXPECT_EQ(c.Post("/api/v2/teams", bad.dump(), "application/json")->status, 400) << bad.dump();
}

TEST(Hiring, MarketplaceListsPagesAndHiresOnce)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const json summary = body(c.Get("/api/v2/marketplace?summary=1"));
    ASSERT_GE(summary["agents"].size(), 20u);
    std::set<std::string> services;
    for (const auto& a : summary["agents"]) {
        EXPECT_TRUE(a["id"].is_string() && a["name"].is_string() && a["installs_count"].is_number_integer());
        services.insert(a["service"].get<std::string>());
    }
    for (const char* service : {"Email Marketing", "Web Design", "Research"})
        EXPECT_TRUE(services.count(service)) << service;

    const json page = body(c.Get("/api/v2/marketplace?ids=mk-seo-writer,mk-unknown,mk-newsletter-writer"));
    ASSERT_EQ(page["agents"].size(), 2u);
    const json& seo = page["agents"][0];
    EXPECT_EQ(seo["id"], "mk-seo-writer");
    EXPECT_EQ(seo["capabilities"]["service"], "Content");
    EXPECT_EQ(seo["tools_count"], seo["tools_summary"].size());
    EXPECT_FALSE(seo["skills"].empty());
    EXPECT_FALSE(seo["example_tasks"].empty());
    EXPECT_EQ(page["agents"][1]["id"], "mk-newsletter-writer");
    EXPECT_EQ(svc.client().Get("/api/v2/marketplace?summary=1")->status, 401);

    const char* hirePath = "/api/v2/custom-agents/mk-newsletter-writer/clone";
    const std::string request
        = R"({"trigger_type":"manual","intent":"hire","team_slug":"growth","project_slug":"spring-launch"})";
    auto hired = c.Post(hirePath, request, "application/json");
    ASSERT_EQ(hired->status, 201) << hired->body;
    const std::string id = body(hired)["id"];
    const json list = body(c.Get("/api/v2/custom-agents"));
    const json* agent = agentIn(list, id);
    ASSERT_NE(agent, nullptr);
    EXPECT_EQ((*agent)["agent_group"], "Growth");
    EXPECT_EQ((*agent)["name"], "newsletter-writer-growth");
    EXPECT_EQ(body(c.Get("/api/v2/orchestrator-chat/growth"))["agents"].size(), 3u);
    EXPECT_TRUE(answers(c, id));

    auto again = c.Post(hirePath, R"({"trigger_type":"manual","intent":"hire"})", "application/json");
    EXPECT_EQ(again->status, 409);
    EXPECT_EQ(body(again)["code"], "already_hired");
    EXPECT_EQ(body(again)["existing_agent_id"], id);
    EXPECT_EQ(body(c.Get("/api/v2/marketplace?ids=mk-newsletter-writer"))["agents"][0]["installs_count"], 1841);

    // Once the hired employee is archived, hiring makes a new one.
    c.Patch(("/api/v2/custom-agents/" + id).c_str(), R"({"status":"archived"})", "application/json");
    EXPECT_EQ(c.Post(hirePath, "{}", "application/json")->status, 201);
    EXPECT_EQ(c.Post("/api/v2/custom-agents/mk-nobody/clone", "{}", "application/json")->status, 404);
    EXPECT_EQ(
        c.Post("/api/v2/custom-agents/mk-seo-writer/clone", R"({"team_slug":"nowhere"})", "application/json")->status,
        404);
    EXPECT_EQ(c.Post("/api/v2/custom-agents/mk-seo-writer/clone", R"({"team_slug":7})", "application/json")->status,
              400);
}

TEST(Hiring, ModelKeysAndAvatars)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    EXPECT_EQ(body(c.Get("/api/v2/user/api-keys")), (json{{"api_keys", json::array()}}));
    EXPECT_EQ(svc.client().Get("/api/v2/user/api-keys")->status, 401);

    auto nova = svc.client().Get("/9.x/notionists/svg?seed=Nova&backgroundColor=ede9fe");
    ASSERT_EQ(nova->status, 200);
    EXPECT_EQ(nova->get_header_value("Content-Type"), "image/svg+xml");
    EXPECT_EQ(nova->body.rfind("<svg", 0), 0u);
    EXPECT_NE(nova->body.find("#ede9fe"), std::string::npos);
    EXPECT_EQ(svc.client().Get("/9.x/notionists/svg?seed=Nova&backgroundColor=ede9fe")->body, nova->body);
    EXPECT_NE(svc.client().Get("/9.x/notionists/svg?seed=Theo&backgroundColor=ede9fe")->body, nova->body);
    // A colour that is not hex cannot reach the picture.
    EXPECT_EQ(svc.client().Get("/9.x/notionists/svg?seed=Nova&backgroundColor=%22%3E%3Cscript%3E")->body.find("script"),
              std::string::npos);
}
