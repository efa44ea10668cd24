// Hostile and broken requests get JSON errors and leave the service up; what was stored
// survives a killed process.
#include "ChatTestSupport.h"

#include <filesystem>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

using namespace chattest;

namespace {

// Sends `bytes` on a fresh connection and answers what came back before the service closed it.
std::string rawExchange(int port, const std::string& bytes, bool readAnswer = true)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(uint16_t(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return {};
    }
    timeval timeout{15, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    (void)!send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    std::string answer;
    char buf[4096];
    ssize_t n;
    while (readAnswer && (n = recv(fd, buf, sizeof buf, 0)) > 0)
        answer.append(buf, size_t(n));
    close(fd);
    return answer;
}

std::string requestHead(const LiveService& s, const std::string& line, size_t contentLength, const std::string& type)
{
    return line + " HTTP/1.1\r\nHost: 127.0.0.1\r\nOrigin: " + s.origin() + "\r\nCookie: " + s.cookie
        + "\r\nConnection: close\r\nContent-Type: " + type + "\r\nContent-Length: " + std::to_string(contentLength)
        + "\r\n\r\n";
}

std::string answerBody(const std::string& raw)
{
    const auto split = raw.find("\r\n\r\n");
    return split == std::string::npos ? std::string() : raw.substr(split + 4);
}

} // namespace

TEST(Robustness, NothingStoredIsLostWhenTheProcessIsKilled)
{
    char dir[] = "/tmp/halvex-restart-XXXXXX";
    const std::string data = mkdtemp(dir);
    json before, project;
    std::string cookie, setup;
    {
        LiveService first("--ping-ms 200", data);
        cookie = first.cookie;
        StreamReader stream(first, "/api/v2/custom-agents/a-researcher/chat/stream");
        ASSERT_TRUE(stream.waitForReady());
        first.post(kResearcher, {{"mode", "live"}, {"client_request_id", "r1"}, {"text", "research pricing"}});
        ASSERT_TRUE(stream.waitFor([](const auto& e) { return hasTurnSpend(e); }));
        project = first.post("/api/v2/projects", {{"label", "Launch"}, {"brief", "Ship it"}}, 201)["project"];
        first.post("/api/v2/custom-agents/a-researcher/chat/read", json::object());
        before = first.get(std::string(kResearcher) + "?limit=200");
        setup = first
                    .post("/api/v2/teams/growth/goals/auto-start",
                          {{"objective", "grow the newsletter"},
                           {"timezone", "UTC"},
                           {"client_request_id", "g1"}})["request_id"]
                    .get<std::string>();
        stream.close();
        first.stop(SIGKILL);
    }
    LiveService second("--ping-ms 200", data);
    // The old session cookie still signs in, and every message, read mark and project is there.
    httplib::Client c("127.0.0.1", second.port);
    c.set_default_headers({{"Cookie", cookie}, {"Origin", second.origin()}});
    auto me = c.Get("/api/v2/auth/me");
    ASSERT_TRUE(me);
    EXPECT_EQ(me->status, 200);
    auto history = c.Get(std::string(kResearcher) + "?limit=200");
    ASSERT_TRUE(history);
    EXPECT_EQ(json::parse(history->body)["messages"], before["messages"]);
    auto list = c.Get("/api/v2/custom-agents?include_activity=1");
    ASSERT_TRUE(list);
    EXPECT_EQ(json::parse(list->body)["unread"].value("a-researcher", 0), 0);
    auto stored = c.Get("/api/v2/projects/" + project["slug"].get<std::string>());
    ASSERT_TRUE(stored);
    EXPECT_EQ(json::parse(stored->body)["project"]["brief"], "Ship it");
    // A retried send of the turn made before the crash is still recognised.
    auto retry
        = c.Post(kResearcher, json{{"mode", "live"}, {"client_request_id", "r1"}, {"text", "research pricing"}}.dump(),
                 "application/json");
    ASSERT_TRUE(retry);
    EXPECT_EQ(json::parse(retry->body)["status"], "duplicate");
    // A goal setup begun before the crash can still be answered, once.
    auto answered = c.Post("/api/v2/teams/growth/goals/auto-start/" + setup + "/answer", json{{"answer", "10"}}.dump(),
                           "application/json");
    ASSERT_TRUE(answered);
    EXPECT_EQ(json::parse(answered->body)["status"], "started") << answered->body;
    auto again = c.Post("/api/v2/teams/growth/goals/auto-start/" + setup + "/answer", json{{"answer", "10"}}.dump(),
                        "application/json");
    ASSERT_TRUE(again);
    EXPECT_EQ(json::parse(again->body)["goal"], json::parse(answered->body)["goal"]);
    second.stop(SIGTERM);
    std::error_code ec;
    std::filesystem::remove_all(data, ec);
}

TEST(Robustness, OversizedAndTruncatedBodiesGetJsonErrorsOrAClosedConnection)
{
    LiveService s;
    // Announced far beyond the limit: refused before a byte of the body is read.
    const std::string refused = rawExchange(
        s.port, requestHead(s, "POST /api/v2/custom-agents/a-researcher/chat", 300u << 20, "application/json"));
    EXPECT_EQ(refused.rfind("HTTP/1.1 413", 0), 0u) << refused.substr(0, 80);
    EXPECT_TRUE(json::parse(answerBody(refused), nullptr, false)["error"].is_string()) << answerBody(refused);

    // A client that promises a body and leaves halfway, on a JSON and on a multipart route.
    rawExchange(s.port,
                requestHead(s, "POST /api/v2/custom-agents/a-researcher/chat", 1000, "application/json")
                    + "{\"text\":\"he",
                false);
    rawExchange(
        s.port,
        requestHead(s, "POST /api/v2/custom-agents/a-researcher/chat/files", 5000, "multipart/form-data; boundary=xx")
            + "--xx\r\nContent-Disposition: form-data; name=\"file\"; filename=\"a.txt\"\r\n\r\nhalf",
        false);
    // Garbage instead of HTTP.
    rawExchange(s.port, std::string("\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03", 11), false);
    EXPECT_EQ(s.get("/api/v2/auth/me")["email"], "demo@halvex.local");
}

TEST(Robustness, HostileJsonOnWritingRoutesGetsA400WithAnErrorText)
{
    LiveService s;
    const std::string deep = std::string(20000, '[') + std::string(20000, ']');
    const std::string badUtf8 = "{\"text\":\"\xff\xfe\"}";
    const std::vector<std::pair<std::string, std::string>> routes = {
        {"POST", kResearcher},
        {"POST", "/api/v2/orchestrator-chat/growth"},
        {"PATCH", "/api/v2/custom-agents/a-researcher"},
        {"PATCH", "/api/v2/teams/growth"},
        {"POST", "/api/v2/teams/growth/members"},
        {"POST", "/api/v2/projects"},
        {"POST", "/api/v2/custom-agents/a-researcher/goals/auto-start"},
        {"PUT", "/api/v2/custom-agents/a-researcher/goal"},
        {"POST", "/api/v2/custom-agents/a-researcher/goals/suggestions"},
        {"POST", "/api/v2/orchestrator-chat/growth/approve"},
        {"PATCH", "/api/v2/user/profile"},
        {"POST", "/api/v2/auth/signup"},
    };
    auto c = s.client();
    for (const auto& [method, path] : routes) {
        for (const std::string& raw :
             {std::string("{\"a\":"), std::string("null"), std::string("\"text\""), deep, badUtf8}) {
            auto r = method == "POST" ? c.Post(path, raw, "application/json")
                : method == "PUT"     ? c.Put(path, raw, "application/json")
                                      : c.Patch(path, raw, "application/json");
            ASSERT_TRUE(r) << method << " " << path;
            EXPECT_EQ(r->status, 400) << method << " " << path << " " << raw.substr(0, 20);
            EXPECT_TRUE(json::parse(r->body, nullptr, false)["error"].is_string()) << path << " " << r->body;
        }
    }
    // Keys of the wrong type where a goal is stored never reach the goal list.
    auto typed = c.Put("/api/v2/custom-agents/a-researcher/goal", json{{"objective", "grow"}, {"target", "ten"}}.dump(),
                       "application/json");
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->status, 400);
    EXPECT_EQ(json::parse(typed->body)["error"], "Invalid target: expected a number");
    auto kept = c.Put("/api/v2/custom-agents/a-researcher/goal",
                      json{{"objective", "grow"}, {"target", 1}, {"status", "hacked"}, {"version", "x"}}.dump(),
                      "application/json");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->status, 200);
    const json goals = s.get("/api/v2/custom-agents/a-researcher/goals")["goals"];
    ASSERT_EQ(goals.size(), 1u);
    EXPECT_EQ(goals[0]["status"], "active");
    EXPECT_EQ(goals[0]["version"], 1);
    EXPECT_EQ(s.get("/api/v2/auth/me")["email"], "demo@halvex.local");
}

TEST(Robustness, WritingWithoutTheServiceOriginIsRefusedAsCsrfEverywhere)
{
    LiveService s;
    const std::vector<std::pair<std::string, std::string>> routes
        = {{"POST", kResearcher},
           {"PATCH", "/api/v2/custom-agents/a-researcher"},
           {"DELETE", "/api/v2/projects/launch"},
           {"PUT", "/api/v2/custom-agents/a-researcher/goal"},
           {"POST", "/api/v2/custom-agents/a-researcher/chat/files"}};
    const std::vector<std::string> origins = {"http://evil.example", "", "null", "http://127.0.0.1:1"};
    for (const auto& origin : origins) {
        httplib::Client c("127.0.0.1", s.port);
        httplib::Headers headers{{"Cookie", s.cookie}};
        if (!origin.empty())
            headers.emplace("Origin", origin);
        for (const auto& [method, path] : routes) {
            httplib::Request req;
            req.method = method;
            req.path = path;
            req.headers = headers;
            req.body = "{\"text\":\"hi\"}";
            req.set_header("Content-Type", "application/json");
            auto r = c.send(req);
            ASSERT_TRUE(r) << method << " " << path;
            EXPECT_EQ(r->status, 403) << origin << " " << method << " " << path;
            EXPECT_NE(json::parse(r->body, nullptr, false).value("error", std::string()).find("CSRF"),
                      std::string::npos);
        }
    }
    // Nothing was sent: reading needs no origin and shows only the seeded messages.
    httplib::Client reader("127.0.0.1", s.port);
    auto r = reader.Get(std::string(kResearcher) + "?limit=200", {{"Cookie", s.cookie}});
    ASSERT_TRUE(r);
    const json history = json::parse(r->body);
    for (const auto& m : history["messages"])
        EXPECT_NE(m["content"], "hi");
}
