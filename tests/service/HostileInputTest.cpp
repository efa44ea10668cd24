// Input the app would never send but a hostile client may: invalid UTF-8 in every place text is
// stored, uploads at and over the limits, and labels whose slugs need folding.
#include "RunningService.h"

#include "core/Slug.h"

#include <gtest/gtest.h>

using namespace service_test;

namespace {

const std::string kBadUtf8 = "r\xC3\x28sum\xE9.txt";
const char* kSpring = "/api/v2/projects/spring-launch";

} // namespace

TEST(HostileInput, InvalidUtf8IsRefusedAndNothingIsStored)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const std::string files = std::string(kSpring) + "/files";
    const size_t before = body(c.Get(files.c_str()))["files"].size();

    auto badName = c.Post(files.c_str(),
                          httplib::MultipartFormDataItems{{"files", "x", "ok.txt", "text/plain"},
                                                          {"files", "x", kBadUtf8, "text/plain"}});
    ASSERT_TRUE(badName);
    EXPECT_EQ(badName->status, 400);
    EXPECT_EQ(body(badName)["error"], "Text must be valid UTF-8 (a name, label, message or file type is not).");
    auto badType = c.Post(files.c_str(), httplib::MultipartFormDataItems{{"files", "x", "ok.txt", "text/\xFF"}});
    EXPECT_EQ(badType->status, 400);
    auto chatUpload = c.Post("/api/v2/custom-agents/a-researcher/chat/files",
                             httplib::MultipartFormDataItems{{"files", "x", kBadUtf8, "text/plain"}});
    EXPECT_EQ(chatUpload->status, 400);
    // JSON bodies and query items carrying invalid bytes are refused the same way.
    EXPECT_EQ(c.Post("/api/v2/projects", "{\"label\":\"" + kBadUtf8 + "\"}", "application/json")->status, 400);
    EXPECT_EQ(c.Get("/api/v2/tables/tbl-x?agent_id=r%C3%28sum%E9")->status, 400);

    // The listings still answer, with nothing new in them.
    auto listed = c.Get(files.c_str());
    ASSERT_EQ(listed->status, 200);
    EXPECT_EQ(body(listed)["files"].size(), before);
    EXPECT_EQ(c.Get((std::string(kSpring) + "/events").c_str())->status, 200);
}

TEST(HostileInput, UploadFailsFileByFileAndAFullSelectionFits)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const std::string tenMb(10 * 1024 * 1024, 'x');
    httplib::MultipartFormDataItems items;
    // Over the former 64 MB body cap, yet every file within its own limit but the last.
    for (int i = 0; i < 7; ++i)
        items.push_back({"files", tenMb, "part" + std::to_string(i) + ".bin", "application/octet-stream"});
    items.push_back({"files", tenMb + "x", "big.bin", "application/octet-stream"});
    auto r = c.Post((std::string(kSpring) + "/files").c_str(), items);
    ASSERT_TRUE(r);
    ASSERT_EQ(r->status, 200) << r->body;
    EXPECT_EQ(body(r)["files"].size(), 7u);
    EXPECT_EQ(body(r)["failed"], (json::array({{{"name", "big.bin"}, {"error", "File too large (max 10 MB)."}}})));

    httplib::MultipartFormDataItems many;
    for (int i = 0; i < 21; ++i)
        many.push_back({"files", "x", "f" + std::to_string(i) + ".txt", "text/plain"});
    const json answer = body(c.Post((std::string(kSpring) + "/files").c_str(), many));
    EXPECT_EQ(answer["files"].size(), 20u);
    EXPECT_EQ(answer["failed"],
              (json::array({{{"name", "f20.txt"}, {"error", "Up to 20 files can be uploaded at once."}}})));
}

TEST(HostileInput, FoldedLongAndSymbolLabelsReachTheirTeamAndProjectPaths)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    for (const std::string& label :
         std::vector<std::string>{"Équipe Café", "Отдел продаж", "§§ !! ??", std::string(200, 'q')}) {
        const std::string slug = service::groupSlug(label);
        const json agent{{"name", "writer-" + slug}, {"agent_group", label}};
        ASSERT_EQ(c.Post("/api/v2/custom-agents", agent.dump(), "application/json")->status, 201) << label;
        const std::string team = "/api/v2/teams/" + slug;
        EXPECT_EQ(c.Get((team + "/usage").c_str())->status, 200) << label;
        EXPECT_EQ(c.Patch(team.c_str(), R"({"handoff_depth":2})", "application/json")->status, 200) << label;
        const json chat = body(c.Get(("/api/v2/orchestrator-chat/" + slug).c_str()));
        EXPECT_EQ(chat["group_slug"], slug) << label;
    }
    for (const std::string& label : std::vector<std::string>{"Café Crème", "Мой проект", std::string(200, 'p')}) {
        auto created = c.Post("/api/v2/projects", json{{"label", label}}.dump(), "application/json");
        ASSERT_EQ(created->status, 201) << label;
        const std::string slug = body(created)["project"]["slug"];
        EXPECT_EQ(slug, *service::projectSlug(label));
        EXPECT_EQ(c.Get(("/api/v2/projects/" + slug + "/files").c_str())->status, 200) << label;
    }
    EXPECT_EQ(c.Post("/api/v2/projects", R"({"label":"Group"})", "application/json")->status, 400);
}
