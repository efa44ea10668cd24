// Project intake against the service's own demo websites: the questions, the profile, the
// warning for an address it cannot reach, and the project created from it.
#include "RunningService.h"

#include <gtest/gtest.h>

using namespace service_test;

namespace {

const char* kIntake = "/api/v2/projects/intake";

httplib::Result postJson(httplib::Client& c, const std::string& path, const json& body)
{
    return c.Post(path.c_str(), body.dump(), "application/json");
}

json questions(httplib::Client& c, const std::string& website, const std::string& description = "")
{
    const json request{{"stage", "questions"},
                       {"label", "Wholesale push"},
                       {"website_url", website},
                       {"description", description}};
    auto r = postJson(c, kIntake, request);
    EXPECT_TRUE(r && r->status == 200) << (r ? r->body : "no answer");
    return body(r);
}

json answersTo(const json& qs, const std::map<std::string, std::string>& chosen)
{
    json out = json::array();
    for (const auto& q : qs) {
        const std::string key = q["key"];
        out.push_back(
            {{"key", key}, {"answer", chosen.count(key) ? chosen.at(key) : q["options"][0].get<std::string>()}});
    }
    return out;
}

void expectFocusedQuestions(const json& qs, size_t count)
{
    ASSERT_EQ(qs.size(), count) << qs.dump();
    for (const auto& q : qs) {
        EXPECT_FALSE(q["key"].get<std::string>().empty());
        EXPECT_FALSE(q["question"].get<std::string>().empty());
        ASSERT_GE(q["options"].size(), 2u) << q.dump();
        for (const auto& option : q["options"])
            EXPECT_FALSE(option.get<std::string>().empty());
    }
}

} // namespace

TEST(Intake, ADemoSiteIsReadIntoQuestionsAndAFullProfile)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    // The same site by its reserved host and on the service's own origin.
    const json byHost = questions(c, "rosehip-rye.example", "We want more cafés to stock our bread.");
    const json local = questions(c, svc.origin() + "/demo-sites/bakery/");
    for (const json* answer : {&byHost, &local}) {
        const json& source = (*answer)["source"];
        EXPECT_EQ(source["status"], "read") << source.dump();
        EXPECT_EQ(source["warning"], "");
        EXPECT_EQ(source["pages"].size(), 4u); // the home page and three relevant ones, never the outside link
        EXPECT_GE(source["facts"].size(), 5u);
        EXPECT_NE(source["title"].get<std::string>().find("Rosehip & Rye"), std::string::npos);
        EXPECT_EQ(source["token"].get<std::string>().rfind("ev-", 0), 0u);
        expectFocusedQuestions((*answer)["questions"], 5);
    }
    EXPECT_EQ(byHost["source"]["pages"][1], "https://rosehip-rye.example/about.html");
    EXPECT_EQ(local["source"]["canonical_url"], svc.origin() + "/demo-sites/bakery/");

    const json overview
        = body(postJson(c, kIntake,
                        {{"stage", "overview"},
                         {"label", "Wholesale push"},
                         {"website_url", "rosehip-rye.example"},
                         {"description", "We want more cafés to stock our bread."},
                         {"source", byHost["source"]},
                         {"answers", answersTo(byHost["questions"], {{"competitors", "Not sure yet"}})}}));
    ASSERT_TRUE(overview["ok"].get<bool>()) << overview.dump();
    for (const char* key : {"description", "product_audience", "desired_result", "constraints"})
        EXPECT_FALSE(overview["overview"][key].get<std::string>().empty()) << key;
    EXPECT_NE(overview["overview"]["product_audience"].get<std::string>().find("£4.20"), std::string::npos);
    EXPECT_NE(overview["overview"]["description"].get<std::string>().find("We want more cafés"), std::string::npos);
    // An unsure answer leaves its section to the user.
    EXPECT_EQ(overview["needs_input"], json::array({"competitors"}));
    EXPECT_EQ(overview["source"]["token"], byHost["source"]["token"]);

    // The other demo site is another trade: its questions offer that trade's options.
    const json studio = questions(c, "https://northlight-studio.example/services.html");
    EXPECT_EQ(studio["source"]["status"], "read");
    EXPECT_EQ(studio["questions"][1]["options"][0], "Cultural institutions");
}

TEST(Intake, AnAddressOutsideTheServiceGivesTheWarningAndRestsOnTheDescription)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const std::string description = "A small online shop for handmade ceramics. Our budget is $300 a month.";
    const std::vector<std::string> outside{"https://www.example.com/about", svc.origin() + "/api/v2/auth/me",
                                           svc.origin() + "/demo-sites/no-such-site/"};
    for (const auto& site : outside) {
        const json answer = questions(c, site, description);
        EXPECT_EQ(answer["source"]["status"], "unreachable") << site;
        EXPECT_NE(answer["source"]["warning"].get<std::string>().find("could not be read"), std::string::npos);
        EXPECT_FALSE(answer["source"].contains("token"));
        // Nothing was read, so more is asked; but the description names the budget already.
        expectFocusedQuestions(answer["questions"], 6);
        for (const auto& q : answer["questions"])
            EXPECT_NE(q["key"], "budget");
    }
    EXPECT_EQ(questions(c, "javascript:alert(1)", description)["source"]["status"], "invalid");
    EXPECT_EQ(questions(c, "", "Help a dentist fill cancelled appointments.")["questions"].size(), 6u);

    const json overview = body(postJson(
        c, kIntake,
        {{"stage", "overview"}, {"label", "Ceramics"}, {"description", description}, {"source", json::object()}}));
    EXPECT_EQ(overview["overview"]["description"], description);
    EXPECT_NE(overview["overview"]["constraints"].get<std::string>().find("$300"), std::string::npos);
    EXPECT_EQ(overview["needs_input"], json::array({"product_audience", "desired_result", "competitors"}));
}

TEST(Intake, CreatingFromAnIntakeKeepsTheProfileAndARepeatMakesNoSecondProject)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const json source = questions(c, "rosehip-rye.example")["source"];
    const json create{{"label", "Wholesale push"},
                      {"brief", "More cafés stocking our bread."},
                      {"overview",
                       {{"description", "More cafés stocking our bread."},
                        {"product_audience", "Sourdough for cafés."},
                        {"desired_result", ""},
                        {"competitors", "Supermarkets"},
                        {"constraints", "Deliveries before 7 am."}}},
                      {"creation_request_id", "3F2504E0-4F89-11D3-9A0C-0305E82C3301"},
                      {"site_evidence", source}};
    auto first = postJson(c, "/api/v2/projects", create);
    ASSERT_EQ(first->status, 201) << first->body;
    const json project = body(first)["project"];
    const std::string brief = project["brief"];
    EXPECT_EQ(brief.rfind("More cafés stocking our bread.\n\n<!-- tessal:project-overview:v1 -->", 0), 0u);
    EXPECT_NE(brief.find("<!-- tessal:field:competitors:start -->\n## Competitors and alternatives\nSupermarkets\n"
                         "<!-- tessal:field:competitors:end -->"),
              std::string::npos);
    // An empty section keeps its block, without a value line.
    EXPECT_NE(brief.find("<!-- tessal:field:desired_result:start -->\n## Desired result\n"
                         "<!-- tessal:field:desired_result:end -->"),
              std::string::npos);

    auto again = postJson(c, "/api/v2/projects", create);
    EXPECT_EQ(again->status, 200);
    EXPECT_EQ(body(again)["project"]["id"], project["id"]);
    EXPECT_EQ(body(c.Get("/api/v2/projects"))["projects"].size(), 2u);
    const json memory = body(c.Get("/api/v2/projects/wholesale-push/memory"));
    ASSERT_EQ(memory["knowledge_notes"].size(), 1u);
    EXPECT_EQ(memory["knowledge_notes"][0]["title"], "What the website says");
    EXPECT_TRUE(memory["knowledge_notes"][0]["pinned"].get<bool>());

    // Evidence the service never handed out adds nothing.
    json forged = create;
    forged["creation_request_id"] = "other";
    forged["site_evidence"] = {{"token", "ev-forged"}, {"facts", {"We are the best"}}};
    auto second = postJson(c, "/api/v2/projects", forged);
    ASSERT_EQ(second->status, 201);
    EXPECT_EQ(body(c.Get("/api/v2/projects/wholesale-push-2/memory"))["knowledge_notes"].size(), 0u);

    // A reading is kept for a week: after that its token vouches for nothing.
    ASSERT_TRUE(svc.advanceClock(8 * 24 * 3600));
    json late = create;
    late["creation_request_id"] = "late";
    ASSERT_EQ(postJson(c, "/api/v2/projects", late)->status, 201);
    EXPECT_EQ(body(c.Get("/api/v2/projects/wholesale-push-3/memory"))["knowledge_notes"].size(), 0u);

    json tooLong = create;
    tooLong["creation_request_id"] = "long";
    tooLong["brief"] = std::string(4001, 'a');
    EXPECT_EQ(body(postJson(c, "/api/v2/projects", tooLong))["error"],
              "The project profile is too long. Shorten the Description or context fields.");
}

TEST(Intake, HostileBodiesAreRefusedAndLeaveNothingBehind)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const json good{{"stage", "questions"}, {"label", "Shop"}, {"description", "Ceramics"}};
    const auto refused = [&](json change, const std::string& error = {}) {
        json b = good;
        b.update(change);
        auto r = postJson(c, kIntake, b);
        EXPECT_EQ(r->status, 400) << b.dump() << " " << r->body;
        if (!error.empty()) {
            EXPECT_EQ(body(r)["error"], error);
        }
    };
    refused({{"stage", "draft"}});
    refused({{"stage", 3}});
    refused({{"label", json::array({"x"})}});
    refused({{"label", "   "}}, "Give the project a name — it becomes its address and its label in every chat.");
    refused({{"description", ""}}, "Add a website or a short description, or choose Fill manually.");
    refused({{"description", std::string(4001, 'x')}},
            "The project profile is too long. Shorten the Description or context fields.");
    refused({{"stage", "overview"}, {"answers", "all of them"}});
    refused({{"stage", "overview"}, {"answers", json::array({{{"key", "budget"}, {"answer", 5}}})}});
    refused({{"stage", "overview"}, {"source", "https://x"}});
    EXPECT_EQ(c.Post(kIntake, "{\"stage\":", "application/json")->status, 400);
    EXPECT_EQ(c.Post(kIntake, std::string(300 * 1024, ' ') + "{}", "application/json")->status, 413);
    EXPECT_EQ(svc.client().Post(kIntake, good.dump(), "application/json")->status, 401);

    const json create{{"label", "Shop"}, {"overview", {{"constraints", json::object()}}}};
    EXPECT_EQ(postJson(c, "/api/v2/projects", create)->status, 400);
    EXPECT_EQ(postJson(c, "/api/v2/projects", {{"label", "Shop"}, {"site_evidence", "token"}})->status, 400);
    EXPECT_EQ(body(c.Get("/api/v2/projects"))["projects"].size(), 1u);
}
