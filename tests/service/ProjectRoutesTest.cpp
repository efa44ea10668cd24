// Projects: creation, the event feed's paging, uploads with hostile names, links and memory.
#include "RunningService.h"

#include <filesystem>

#include <gtest/gtest.h>

#include <set>

using namespace service_test;

TEST(ProjectRoutes, EventsPageByBeforeWithoutGapsOrRepeats)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    std::set<long long> seen;
    long long previous = std::numeric_limits<long long>::max();
    std::string path = "/api/v2/projects/spring-launch/events";
    int pages = 0;
    for (;; ++pages) {
        const json page = body(c.Get(path.c_str()));
        ASSERT_TRUE(page["events"].is_array()) << page.dump();
        for (const auto& e : page["events"]) {
            const long long id = e["id"];
            EXPECT_LT(id, previous);
            previous = id;
            EXPECT_TRUE(seen.insert(id).second);
        }
        if (!page["has_more"].get<bool>()) {
            EXPECT_TRUE(page["next_before"].is_null());
            break;
        }
        EXPECT_EQ(page["next_before"], page["events"].back()["id"]);
        path = "/api/v2/projects/spring-launch/events?before=" + std::to_string(page["next_before"].get<long long>());
    }
    EXPECT_EQ(pages, 2); // 45 seeded events, 20 a page
    EXPECT_GE(seen.size(), 45u);
    EXPECT_EQ(c.Get("/api/v2/projects/spring-launch/events?before=abc")->status, 400);
    EXPECT_EQ(body(c.Get("/api/v2/projects/spring-launch/events?before=1"))["events"].size(), 0u);
}

TEST(ProjectRoutes, CreateIsIdempotentPerRequestAndSlugsStayUnique)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const json create{{"label", "Spring Launch"}, {"brief", "Again"}, {"creation_request_id", "req-1"}};
    auto first = c.Post("/api/v2/projects", create.dump(), "application/json");
    ASSERT_EQ(first->status, 201) << first->body;
    EXPECT_EQ(body(first)["project"]["slug"], "spring-launch-2");
    auto repeat = c.Post("/api/v2/projects", create.dump(), "application/json");
    EXPECT_EQ(body(repeat)["project"]["id"], body(first)["project"]["id"]);
    EXPECT_EQ(body(c.Get("/api/v2/projects"))["projects"].size(), 2u);

    EXPECT_EQ(body(c.Post("/api/v2/projects", R"({"label":"!!!"})", "application/json"))["error"],
              "This name has no letters or digits to build an address from — add a word to it.");
    EXPECT_EQ(c.Post("/api/v2/projects", R"({"label":""})", "application/json")->status, 400);
    EXPECT_EQ(c.Get("/api/v2/projects/no-such-project")->status, 404);
}

TEST(ProjectRoutes, UploadsKeepGoodFilesAndNameTheBadOnes)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const httplib::MultipartFormDataItems items{
        {"files", "plain text", "../../etc/passwd", "text/plain"},
        {"files", "line", "evil\x01\tname.txt", "text/plain"},
        {"files", std::string(10 * 1024 * 1024 + 1, 'x'), "big.bin", "application/octet-stream"},
        {"files", "dots", "...hidden", "text/plain"},
    };
    auto r = c.Post("/api/v2/projects/spring-launch/files", items);
    ASSERT_EQ(r->status, 200) << r->body;
    const json answer = body(r);
    ASSERT_EQ(answer["files"].size(), 3u) << answer.dump();
    EXPECT_EQ(answer["files"][0]["name"], "passwd");
    EXPECT_EQ(answer["files"][1]["name"], "evilname.txt");
    EXPECT_EQ(answer["files"][2]["name"], "hidden");
    EXPECT_EQ(answer["failed"], (json::array({{{"name", "big.bin"}, {"error", "File too large (max 10 MB)."}}})));
    // On disk, files are named by id only: no sent name reaches a path.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(svc.dataDir())) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(name.find("passwd"), std::string::npos);
        EXPECT_EQ(name.find("evil"), std::string::npos);
    }

    // The stored bytes come back unchanged, and deleting removes the file from the list.
    const std::string id = answer["files"][0]["id"];
    auto content = c.Get(("/api/v2/projects/spring-launch/files/" + id + "/content").c_str());
    EXPECT_EQ(content->body, "plain text");
    // A served file is never sniffed and, being no image or PDF, downloads under a safe name.
    EXPECT_EQ(content->get_header_value("X-Content-Type-Options"), "nosniff");
    EXPECT_EQ(content->get_header_value("Content-Disposition"),
              "attachment; filename=\"passwd\"; filename*=UTF-8''passwd");
    ASSERT_EQ(c.Delete(("/api/v2/projects/spring-launch/files?id=" + id).c_str())->status, 200);
    EXPECT_EQ(c.Delete(("/api/v2/projects/spring-launch/files?id=" + id).c_str())->status, 404);

    EXPECT_EQ(
        c.Post("/api/v2/projects/spring-launch/files", R"j({"links":["javascript:alert(1)"]})j", "application/json")
            ->status,
        400);
    auto links
        = c.Post("/api/v2/projects/spring-launch/files", R"({"links":["https://example.com/a"]})", "application/json");
    ASSERT_EQ(links->status, 200);
    EXPECT_EQ(body(links)["files"].back()["source"], "link");
}

TEST(ProjectRoutes, MemoryNotesAndTasksRoundTrip)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const std::string base = "/api/v2/projects/spring-launch";
    const json notes
        = body(c.Put((base + "/memory").c_str(), R"({"note":"Ship on Monday"})", "application/json"))["notes"];
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes.back()["content"], "Ship on Monday");
    const long long id = notes.back()["id"];
    EXPECT_EQ(body(c.Put((base + "/memory").c_str(), json{{"delete_note_id", id}}.dump(), "application/json"))["notes"]
                  .size(),
              2u);
    EXPECT_EQ(c.Put((base + "/memory").c_str(), json{{"delete_note_id", id}}.dump(), "application/json")->status, 404);
    EXPECT_EQ(c.Put((base + "/memory").c_str(), R"({"blocks":{"goals":7}})", "application/json")->status, 400);

    auto added
        = body(c.Post((base + "/tasks").c_str(), R"({"text":"Write FAQ","assignee_kind":"team","team_slug":"growth"})",
                      "application/json"))["tasks"];
    ASSERT_EQ(added.size(), 4u);
    EXPECT_EQ(added.back()["assignee_label"], "Growth");
    const std::string task = added.back()["id"];
    auto unassigned
        = body(c.Patch((base + "/tasks/" + task).c_str(), R"({"assignee_kind":"none"})", "application/json"))["tasks"];
    EXPECT_EQ(unassigned.back()["assignee_kind"], "none");
    EXPECT_TRUE(unassigned.back()["assignee_id"].is_null());
    EXPECT_EQ(c.Post((base + "/tasks").c_str(), R"({"text":"x","assignee_kind":"agent","agent_id":"a-nobody"})",
                     "application/json")
                  ->status,
              400);
    EXPECT_EQ(c.Patch((base + "/tasks/9999").c_str(), R"({"status":"done"})", "application/json")->status, 404);
}
