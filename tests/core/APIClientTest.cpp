#include "core/net/APIClient.h"
#include "core/async/ManualClock.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

struct Echo {
    QString value;
    static Echo decode(const JsonReader& json) { return {json.required<QString>("value")}; }
};

APIError errorOf(const std::function<void()>& body)
{
    try {
        body();
    } catch (const APIError& e) {
        return e;
    }
    ADD_FAILURE() << "no APIError thrown";
    return APIError::cancelled();
}

class APIClientTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server, &clock);
    APIClient& client = t->client;

    APIError statusError(int status, QByteArray body, bool json = true)
    {
        server.on("GET", QStringLiteral("/api/v2/x"),
                  json ? FakeResponse::json(status, body) : FakeResponse::text(status, body));
        return errorOf([&] { runTask(client.get<Echo>(QStringLiteral("api/v2/x"))); });
    }
};

TEST_F(APIClientTest, SendsExactlyAcceptAndOriginAndDecodes)
{
    server.on("GET", QStringLiteral("/api/v2/agents"), FakeResponse::json(R"({"value":"ok","extra":1})"));
    const Echo echo = runTask(client.get<Echo>(QStringLiteral("api/v2/agents")));
    EXPECT_EQ(echo.value, QStringLiteral("ok"));

    const RecordedRequest r = server.last();
    EXPECT_EQ(r.method, "GET");
    EXPECT_EQ(r.target, "/api/v2/agents"); // no "?" for an empty query
    EXPECT_EQ(r.header("Accept"), "application/json");
    EXPECT_EQ(r.header("Origin"), server.originText().toUtf8());
    EXPECT_FALSE(r.headers.contains("authorization"));
    EXPECT_FALSE(r.headers.contains("content-type"));
    EXPECT_FALSE(r.headers.contains("cookie"));
}

TEST_F(APIClientTest, PathJoiningAndQueryEncoding)
{
    EXPECT_EQ(client.url(QStringLiteral("api/v2/agents")), client.url(QStringLiteral("/api/v2/agents")));
    EXPECT_EQ(client.url(QStringLiteral("api/v2/a b?c#d")).toString(QUrl::FullyEncoded),
              server.originText() + QStringLiteral("/api/v2/a%20b%3Fc%23d"));

    server.on("DELETE", QStringLiteral("/api/v2/items"), FakeResponse::json(204, {}));
    const QByteArray body = runTask(client.del(
        QStringLiteral("api/v2/items"),
        {{QStringLiteral("b"), QStringLiteral("x&y=z")}, {QStringLiteral("a"), QStringLiteral("Привет 1+1")}}));
    EXPECT_TRUE(body.isEmpty());
    const RecordedRequest r = server.last();
    ASSERT_EQ(r.query.size(), 2);
    EXPECT_EQ(r.query[0], qMakePair(QStringLiteral("b"), QStringLiteral("x&y=z"))); // order kept, separators escaped
    EXPECT_EQ(r.query[1], qMakePair(QStringLiteral("a"), QStringLiteral("Привет 1+1")));
}

TEST_F(APIClientTest, JSONBodyWritesWholeNumbersWithoutFraction)
{
    server.on("POST", QStringLiteral("/api/v2/p"), FakeResponse::json(R"({"value":"v"})"));
    runTask(client.postJSON<Echo>(QStringLiteral("/api/v2/p"),
                                  {{QStringLiteral("limit"), 5},
                                   {QStringLiteral("ratio"), 0.5},
                                   {QStringLiteral("name"), QStringLiteral("Ада")},
                                   {QStringLiteral("none"), nullptr}}));
    const RecordedRequest r = server.last();
    EXPECT_EQ(r.header("Content-Type"), "application/json");
    EXPECT_TRUE(r.body.contains("\"limit\":5,") || r.body.contains("\"limit\":5}")) << r.body.constData();
    EXPECT_TRUE(r.body.contains("\"ratio\":0.5"));
    EXPECT_TRUE(r.body.contains("\"none\":null"));
    EXPECT_EQ(r.jsonObject().value(QStringLiteral("name")), JSONValue(QStringLiteral("Ада")));

    for (const QByteArray method : {"PATCH", "PUT"})
        server.on(method, QStringLiteral("/api/v2/p"), FakeResponse::json(204, {}));
    EXPECT_TRUE(runTask(client.patchJSONRaw(QStringLiteral("api/v2/p"), {})).isEmpty());
    EXPECT_EQ(server.last().method, "PATCH");
    EXPECT_TRUE(runTask(client.putJSONRaw(QStringLiteral("api/v2/p"), {})).isEmpty());
    EXPECT_EQ(server.last().method, "PUT");
}

TEST_F(APIClientTest, StatusMapping)
{
    EXPECT_EQ(statusError(500, R"({"error":"boom"})"), APIError::server(500, QStringLiteral("boom")));
    EXPECT_EQ(statusError(500, "gateway exploded", false), APIError::server(500, QStringLiteral("HTTP 500")));
    EXPECT_EQ(statusError(500, R"({"error":42})"), APIError::server(500, QStringLiteral("HTTP 500")));
    EXPECT_EQ(statusError(500, R"(["error"])"), APIError::server(500, QStringLiteral("HTTP 500")));

    const APIError plain401 = statusError(401, R"({"error":"Unauthorized"})");
    EXPECT_EQ(plain401, APIError::unauthorized(QStringLiteral("Unauthorized")));
    EXPECT_EQ(plain401.description(), QStringLiteral("Session expired — please sign in again."));
    EXPECT_EQ(statusError(401, R"({"error":"Account locked"})").description(), QStringLiteral("Account locked"));
    EXPECT_EQ(APIError::unauthorized().description(), QStringLiteral("Session expired — please sign in again."));

    EXPECT_EQ(statusError(402, R"({"required_usd":1.5,"available_usd":0})"), APIError::paymentRequired(1.5, 0.0));
    const APIError bare402 = statusError(402, "no", false);
    EXPECT_EQ(bare402, APIError::paymentRequired(std::nullopt, std::nullopt));
    EXPECT_EQ(bare402.description(), QStringLiteral("Payment required to run this agent."));
    EXPECT_EQ(statusError(402, R"({"required_usd":"2"})"), APIError::paymentRequired(std::nullopt, std::nullopt));

    EXPECT_EQ(statusError(403, R"({"error":"Bad cSrF token"})"), APIError::csrf(QStringLiteral("Bad cSrF token")));
    EXPECT_EQ(statusError(403, R"({"error":"Forbidden"})"), APIError::server(403, QStringLiteral("Forbidden")));

    EXPECT_EQ(statusError(409, R"({"error":"Hired","code":"already_hired","existing_agent_id":"a7"})"),
              APIError::alreadyHired(QStringLiteral("a7"), QStringLiteral("Hired")));
    EXPECT_EQ(statusError(409, R"({"error":"Hired","code":"already_hired","existing_agent_id":""})"),
              APIError::server(409, QStringLiteral("Hired")));

    EXPECT_EQ(statusError(429, R"({"error":"Slow down"})"), APIError::rateLimited(QStringLiteral("Slow down")));
    EXPECT_EQ(statusError(302, ""), APIError::server(302, QStringLiteral("HTTP 302")));
}

TEST_F(APIClientTest, EmptySuccessIsFineRawButNotForDecoding)
{
    server.on("POST", QStringLiteral("/api/v2/raw"), FakeResponse::json(204, {}));
    EXPECT_TRUE(runTask(client.postJSONRaw(QStringLiteral("api/v2/raw"), {})).isEmpty());
    const APIError e = errorOf([&] { runTask(client.postJSON<Echo>(QStringLiteral("api/v2/raw"), {})); });
    EXPECT_EQ(e.kind(), APIError::Kind::decoding);
    EXPECT_TRUE(e.description().startsWith(QStringLiteral("Unexpected response: ")));

    server.on("GET", QStringLiteral("/api/v2/bad"), FakeResponse::json(R"({"value":3})"));
    const APIError wrongType = errorOf([&] { runTask(client.get<Echo>(QStringLiteral("api/v2/bad"))); });
    EXPECT_EQ(wrongType.kind(), APIError::Kind::decoding);
    EXPECT_TRUE(wrongType.message().value_or(QString()).contains(QStringLiteral("value")));
}

TEST_F(APIClientTest, MultipartBodyByteForByte)
{
    EXPECT_EQ(multipartBody({}, QStringLiteral("B")), QByteArray("--B--\r\n"));
    const QByteArray two
        = multipartBody({{QStringLiteral("files"), QStringLiteral("a \"b\".txt"), QStringLiteral("text/plain"), "hi"},
                         {QStringLiteral("files"), QStringLiteral("x.bin"), QStringLiteral("application/octet-stream"),
                          QByteArray("\0\r\n", 3)}},
                        QStringLiteral("B"));
    EXPECT_EQ(two,
              QByteArray("--B\r\nContent-Disposition: form-data; name=\"files\"; filename=\"a \"b\".txt\"\r\n"
                         "Content-Type: text/plain\r\n\r\nhi\r\n"
                         "--B\r\nContent-Disposition: form-data; name=\"files\"; filename=\"x.bin\"\r\n"
                         "Content-Type: application/octet-stream\r\n\r\n")
                  + QByteArray("\0\r\n", 3) + QByteArray("\r\n--B--\r\n"));

    server.on("POST", QStringLiteral("/api/v2/upload"), FakeResponse::json(R"({"value":"up"})"));
    runTask(client.postMultipart<Echo>(QStringLiteral("api/v2/upload"), {}));
    const QByteArray contentType = server.last().header("Content-Type");
    ASSERT_TRUE(contentType.startsWith("multipart/form-data; boundary=HalvBoundary-"));
    const QByteArray boundary = contentType.mid(contentType.indexOf('=') + 1);
    EXPECT_EQ(boundary.size(), 13 + 36);
    EXPECT_EQ(boundary.mid(13), boundary.mid(13).toUpper());
    EXPECT_EQ(server.last().body, "--" + boundary + "--\r\n");
}

TEST_F(APIClientTest, CancellationAbortsTheRequestAndIsRecognised)
{
    server.on("GET", QStringLiteral("/api/v2/slow"), FakeResponse::held(FakeResponse::json(R"({"value":"late"})")));
    CancelSource source;
    auto task = client.get<Echo>(QStringLiteral("api/v2/slow"), {}, source.token());
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    source.cancel();
    const APIError e = errorOf([&] { runTask(std::move(task)); });
    EXPECT_EQ(e, APIError::cancelled());
    EXPECT_TRUE(isCancellation(e));
    EXPECT_TRUE(isCancellation(std::make_exception_ptr(e)));
    EXPECT_FALSE(isCancellation(APIError::transport(QStringLiteral("x"))));

    // Work started on an already cancelled token sends nothing.
    server.clearRequests();
    EXPECT_EQ(errorOf([&] { runTask(client.get<Echo>(QStringLiteral("api/v2/slow"), {}, source.token())); }),
              APIError::cancelled());
    EXPECT_TRUE(server.requests().isEmpty());
}

// The window closing: the client goes while a screen's request waits. The request ends as a
// cancellation (nothing left suspended), and the screen cancelling later touches nothing.
TEST_F(APIClientTest, ARequestOutlivingItsClientEndsCancelled)
{
    server.on("GET", QStringLiteral("/api/v2/slow"), FakeResponse::held(FakeResponse::json(R"({"value":"late"})")));
    CancelSource source;
    auto task = client.get<Echo>(QStringLiteral("api/v2/slow"), {}, source.token());
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    t.reset();
    source.cancel();
    EXPECT_EQ(errorOf([&] { runTask(std::move(task)); }), APIError::cancelled());
}

TEST_F(APIClientTest, TimeOutIsSixtySecondsOrThePostOverride)
{
    server.on("GET", QStringLiteral("/api/v2/slow"), FakeResponse::held(FakeResponse::json(R"({"value":"late"})")));
    auto task = client.get<Echo>(QStringLiteral("api/v2/slow"));
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    clock.advance(59'999);
    drainEvents();
    clock.advance(1);
    EXPECT_EQ(errorOf([&] { runTask(std::move(task)); }),
              APIError::transport(QStringLiteral("The request timed out.")));

    server.on("POST", QStringLiteral("/api/v2/gen"), FakeResponse::held(FakeResponse::json(R"({"value":"x"})")));
    auto longTask = client.postJSON<Echo>(QStringLiteral("api/v2/gen"), {}, 180.0);
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 2; }));
    clock.advance(120'000);
    server.releaseHeld();
    EXPECT_EQ(runTask(std::move(longTask)).value, QStringLiteral("x")); // 60 s did not apply
}

TEST_F(APIClientTest, WaitsForConnectivityBoundedByTheTimeOut)
{
    server.on("GET", QStringLiteral("/api/v2/agents"), FakeResponse::json(R"({"value":"back"})"));
    t->reachability.setOnline(false);
    auto task = client.get<Echo>(QStringLiteral("api/v2/agents"));
    clock.advance(30'000);
    drainEvents();
    EXPECT_TRUE(server.requests().isEmpty());
    t->reachability.setOnline(true);
    EXPECT_EQ(runTask(std::move(task)).value, QStringLiteral("back"));

    t->reachability.setOnline(false);
    auto offline = client.get<Echo>(QStringLiteral("api/v2/agents"));
    clock.advance(60'000);
    EXPECT_EQ(errorOf([&] { runTask(std::move(offline)); }).kind(), APIError::Kind::transport);
}

TEST_F(APIClientTest, TransportFailures)
{
    server.on("GET", QStringLiteral("/api/v2/drop"), FakeResponse::drop());
    const APIError dropped = errorOf([&] { runTask(client.get<Echo>(QStringLiteral("api/v2/drop"))); });
    EXPECT_EQ(dropped.kind(), APIError::Kind::transport);
    EXPECT_FALSE(dropped.description().isEmpty());

    TestClient nowhere(QUrl(QStringLiteral("http://127.0.0.1:1")), &clock);
    EXPECT_EQ(errorOf([&] { runTask(nowhere.client.get<Echo>(QStringLiteral("x"))); }).kind(),
              APIError::Kind::transport);
}

TEST_F(APIClientTest, BadBodiesGiveTheRightErrorNeverACrash)
{
    EXPECT_EQ(statusError(502, "<html><body>Bad gateway</body></html>", false),
              APIError::server(502, QStringLiteral("HTTP 502")));
    EXPECT_EQ(statusError(200, "").kind(), APIError::Kind::decoding); // a 0-byte 200 for a record
    EXPECT_EQ(statusError(200, "{\"value\":\"\xff\xfe\"").kind(), APIError::Kind::decoding);
    EXPECT_EQ(statusError(200, QByteArray(100'000, '[') + QByteArray(100'000, ']')).kind(), APIError::Kind::decoding);

    // Tens of megabytes decode (or fail) like any other body.
    QByteArray big = "{\"value\":\"" + QByteArray(30 * 1024 * 1024, 'x') + "\"}";
    server.on("GET", QStringLiteral("/api/v2/big"), FakeResponse::json(big));
    EXPECT_EQ(runTask(client.get<Echo>(QStringLiteral("api/v2/big"))).value.size(), 30 * 1024 * 1024);

    server.on("GET", QStringLiteral("/api/v2/cut"),
              FakeResponse::dropMidBody(FakeResponse::json(R"({"value":"long enough to cut"})")));
    EXPECT_EQ(errorOf([&] { runTask(client.get<Echo>(QStringLiteral("api/v2/cut"))); }).kind(),
              APIError::Kind::transport);
}

} // namespace
