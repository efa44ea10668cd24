// Chat history paging, sending, files, read marks and bad input, against the real service.
#include "ChatTestSupport.h"

#include <set>

using namespace chattest;

namespace {

long long unreadOf(const LiveService& s, const std::string& agentId)
{
    const json list = s.get("/api/v2/custom-agents");
    return list["unread"].value(agentId, 0LL);
}

} // namespace

TEST(ChatHistory, PagingBoundsAndBadParameters)
{
    LiveService s;
    const json oldest = s.get(std::string(kResearcher) + "?before=1&limit=5");
    EXPECT_TRUE(oldest["messages"].empty());
    EXPECT_FALSE(oldest["page"]["has_more"].get<bool>());
    EXPECT_EQ(s.get(std::string(kResearcher) + "?limit=5000")["page"]["limit"], 200);
    const json one = s.get(std::string(kResearcher) + "?limit=1");
    ASSERT_EQ(one["messages"].size(), 1u);
    for (const char* bad : {"?limit=0", "?limit=abc", "?before=-3", "?since=1e3", "?limit="}) {
        const json error = s.get(std::string(kResearcher) + bad, 400);
        EXPECT_TRUE(error.contains("error")) << bad;
    }
    // Team conversation: settings and the page in one answer.
    const json team = s.get("/api/v2/orchestrator-chat/growth?limit=15");
    EXPECT_EQ(team["group_slug"], "growth");
    ASSERT_EQ(team["messages"].size(), 2u);
    EXPECT_FALSE(team["page"]["has_more"].get<bool>());
}

TEST(ChatHistory, SendStoresTheTrimmedTurnEchoesTheRequestIdAndRunsARetryOnce)
{
    LiveService s;
    const json attachment{{"name", "../notes.txt"}, {"size", 5}, {"mime", "text/plain"}, {"text", "hello"}};
    const json body{{"mode", "live"},
                    {"client_request_id", "req-1"},
                    {"text", "  hello there \n"},
                    {"attachments", {attachment}}};
    const json sent = s.post(kResearcher, body);
    EXPECT_EQ(sent["status"], "accepted");
    EXPECT_EQ(sent["client_request_id"], "req-1");
    EXPECT_EQ(sent["message"]["role"], "user");
    EXPECT_EQ(sent["message"]["content"], "hello there");
    EXPECT_EQ(sent["message"]["metadata"]["attachments"][0]["name"], "notes.txt");
    EXPECT_GT(sent["message"]["id"].get<long long>(), 0);

    const json again = s.post(kResearcher, body);
    EXPECT_EQ(again["message"]["id"], sent["message"]["id"]);
    const json after
        = s.get(std::string(kResearcher) + "?since=" + std::to_string(sent["message"]["id"].get<long long>() - 1));
    long long userTurns = 0;
    for (const auto& m : after["messages"])
        userTurns += m["role"] == "user";
    EXPECT_EQ(userTurns, 1);

    // Attachments alone are a valid turn; nothing at all is not.
    EXPECT_EQ(s.post(kResearcher,
                     {{"mode", "live"}, {"client_request_id", "req-2"}, {"attachments", {attachment}}})["status"],
              "accepted");
    EXPECT_TRUE(s.post(kResearcher, {{"mode", "live"}, {"text", " \n "}}, 400).contains("error"));
}

TEST(ChatHistory, BadInputAndUnknownIdsGetJsonErrorsAndTheServiceStaysUp)
{
    LiveService s;
    auto c = s.client();
    for (const char* raw : {"{bad", "[1,2]", "", "{\"text\": 5}", "{\"text\":\"x\",\"attachments\":{}}",
                            "{\"text\":\"x\",\"attachments\":[{\"size\":1}]}"}) {
        auto r = c.Post(kResearcher, raw, "application/json");
        ASSERT_TRUE(r);
        EXPECT_EQ(r->status, 400) << raw;
        EXPECT_TRUE(json::parse(r->body, nullptr, false).contains("error")) << raw;
    }
    EXPECT_EQ(s.get("/api/v2/custom-agents/nobody/chat", 404)["error"], "Agent not found");
    EXPECT_EQ(s.get("/api/v2/orchestrator-chat/nobody", 404)["error"], "Team not found");
    EXPECT_TRUE(s.get(std::string(kResearcher) + "/step/99999", 404).contains("error"));
    const long long userTurn = s.get(std::string(kResearcher) + "?limit=50")["messages"][0]["id"];
    EXPECT_TRUE(s.get(std::string(kResearcher) + "/step/" + std::to_string(userTurn), 404).contains("error"));
    EXPECT_TRUE(
        s.post("/api/v2/custom-agents/a-researcher/proposals/" + std::to_string(userTurn), {{"action", "accept"}}, 404)
            .contains("error"));
    EXPECT_TRUE(s.post("/api/v2/custom-agents/a-researcher/proposals/1", {{"action", "maybe"}}, 400).contains("error"));

    auto anonymous = s.client(false).Get(kResearcher);
    ASSERT_TRUE(anonymous);
    EXPECT_EQ(anonymous->status, 401);
    // Another account sees none of the demo chats.
    httplib::Client other("127.0.0.1", s.port);
    other.set_default_headers({{"Cookie", s.signUp("other@x.io")}});
    auto foreign = other.Get(kResearcher);
    ASSERT_TRUE(foreign);
    EXPECT_EQ(foreign->status, 404);

    EXPECT_EQ(s.get(std::string(kResearcher) + "?limit=1")["messages"].size(), 1u);
}

TEST(ChatHistory, UploadSanitisesNamesRefusesOversizeFilesOneByOneAndServesTheRest)
{
    LiveService s;
    auto c = s.client();
    httplib::MultipartFormDataItems items{
        {"file", "hello world", "../../etc/pass\x01wd.txt", "text/plain"},
        {"file", std::string(10 * 1024 * 1024 + 1, 'x'), "big.bin", "application/octet-stream"},
    };
    auto r = c.Post(std::string(kResearcher) + "/files", items);
    ASSERT_TRUE(r);
    ASSERT_EQ(r->status, 200) << r->body;
    const json files = json::parse(r->body)["files"];
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0]["name"], "passwd.txt");
    EXPECT_EQ(files[0]["ok"], true);
    EXPECT_EQ(files[0]["text"], "hello world");
    EXPECT_EQ(files[0]["kind"], "text");
    EXPECT_EQ(files[1]["ok"], false);
    EXPECT_EQ(files[1]["size"], 10 * 1024 * 1024 + 1);
    EXPECT_FALSE(files[1].contains("url"));
    EXPECT_NE(files[1]["error"].get<std::string>().find("10 MB"), std::string::npos);

    const std::string url = files[0]["url"];
    const std::string path = url.substr(url.find("/api/"));
    auto download = c.Get(path);
    ASSERT_TRUE(download);
    EXPECT_EQ(download->body, "hello world");
    httplib::Client other("127.0.0.1", s.port);
    other.set_default_headers({{"Cookie", s.signUp("other@x.io")}});
    EXPECT_EQ(other.Get(path)->status, 404);

    auto notMultipart = c.Post(std::string(kResearcher) + "/files", "{}", "application/json");
    EXPECT_EQ(notMultipart->status, 400);
    httplib::MultipartFormDataItems tooMany;
    for (int i = 0; i < 11; ++i)
        tooMany.push_back({"file", "x", "f" + std::to_string(i) + ".txt", "text/plain"});
    auto refused = c.Post(std::string(kResearcher) + "/files", tooMany);
    EXPECT_EQ(refused->status, 413);
    EXPECT_TRUE(json::parse(refused->body, nullptr, false).contains("error"));
}

TEST(ChatHistory, MarkReadClearsUnreadOfThatChatOnly)
{
    LiveService s;
    EXPECT_EQ(unreadOf(s, "a-researcher"), 1);
    EXPECT_EQ(unreadOf(s, "a-writer-growth"), 1);
    s.post("/api/v2/custom-agents/a-researcher/chat/read", json::object());
    EXPECT_EQ(unreadOf(s, "a-researcher"), 0);
    EXPECT_EQ(unreadOf(s, "a-writer-growth"), 1);

    // A team answer counts for the team, and its read mark clears it.
    StreamReader team(s, "/api/v2/orchestrator-chat/growth/stream");
    ASSERT_TRUE(team.waitForReady());
    s.post("/api/v2/orchestrator-chat/growth", {{"text", "hello team"}});
    ASSERT_TRUE(team.waitFor([](const auto& e) { return hasTurnSpend(e); }));
    EXPECT_EQ(s.get("/api/v2/custom-agents")["orchestratorUnread"]["growth"], 1) << "the usage line is not news";
    s.post("/api/v2/orchestrator-chat/growth/read", json::object());
    EXPECT_EQ(s.get("/api/v2/custom-agents")["orchestratorUnread"]["growth"], 0);
    EXPECT_EQ(unreadOf(s, "a-writer-growth"), 1);
}
