// A voice call against a scripted service and a fake call page: the session's limit, the page's
// messages in either order, one end request however often the call ends, errors as shown, and
// the hang-up at the longest duration on the manual clock.
#include "voice/viewmodel/VoiceCallModel.h"
#include "core/async/ManualClock.h"
#include "support/FakeServer.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

const QString sessionPath = QStringLiteral("/api/v2/voice/session");
const QString endPath = QStringLiteral("/api/v2/voice/end");

struct FakePage : VoiceCallPage {
    QStringList started;
    int ended = 0;
    void startCall(const QString& raw) override { started << raw; }
    void endCall() override { ++ended; }
};

JSONObject message(const char* type, const char* key = nullptr, const char* value = nullptr)
{
    JSONObject m{{QStringLiteral("type"), JSONValue(type)}};
    if (key)
        m.insert(QString::fromLatin1(key), JSONValue(value));
    return m;
}

class VoiceCallModelTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server, &clock);
    FakePage page;
    std::unique_ptr<VoiceCallModel> call;

    void SetUp() override
    {
        server.on("POST", endPath, FakeResponse::json(R"({"ok":true})"));
        call = std::make_unique<VoiceCallModel>(t->client, clock, QStringLiteral("a1"));
        call->setPage(&page);
    }

    void answerSession(const QByteArray& body) { server.on("POST", sessionPath, FakeResponse::json(body)); }

    // Lets the background end request reach the server; true when exactly `n` arrived.
    bool endRequests(int n)
    {
        const bool reached = processUntil([&] { return server.count("POST", endPath) >= n; });
        drainEvents();
        return reached && server.count("POST", endPath) == n;
    }
};

} // namespace

TEST_F(VoiceCallModelTest, ASessionWithoutALimitEndsAfterTenMinutesOnTheClock)
{
    answerSession(R"({"call_id":"call-1","token":"tok"})");
    runTask(call->begin());
    EXPECT_EQ(call->callId(), QStringLiteral("call-1"));
    EXPECT_EQ(call->maxSecs(), 600);
    EXPECT_EQ(call->startRaw(), QStringLiteral(R"({"call_id":"call-1","token":"tok"})"));
    EXPECT_EQ(server.last().jsonObject().value(QStringLiteral("agent_id")).toString(), QStringLiteral("a1"));
    EXPECT_EQ(call->phase(), VoiceCallModel::Phase::connecting);
    EXPECT_EQ(call->mode(), QStringLiteral("listening"));

    call->handle(message("ready"));
    call->handle(message("active"));
    EXPECT_EQ(call->phase(), VoiceCallModel::Phase::active);
    EXPECT_EQ(call->startedAt(), clock.now());
    clock.advance(7'000);
    EXPECT_EQ(call->elapsed(), 7);
    clock.advance(592'000);
    EXPECT_EQ(call->elapsed(), 599);
    EXPECT_FALSE(call->endRequested());
    EXPECT_EQ(server.count("POST", endPath), 0);

    clock.advance(1'000);
    EXPECT_EQ(call->elapsed(), 600);
    EXPECT_TRUE(call->endRequested());
    EXPECT_EQ(call->phase(), VoiceCallModel::Phase::ended);
    EXPECT_EQ(page.ended, 1);
    ASSERT_TRUE(endRequests(1));
    clock.advance(5'000);
    EXPECT_EQ(call->elapsed(), 600) << "the timer stops with the call";
    EXPECT_EQ(server.last().jsonObject().value(QStringLiteral("call_id")).toString(), QStringLiteral("call-1"));
}

TEST_F(VoiceCallModelTest, TheServicesLimitAndTheSpeakingModeAreFollowed)
{
    answerSession(R"({"call_id":"call-2","token":"tok","max_duration_secs":30})");
    runTask(call->begin());
    EXPECT_EQ(call->maxSecs(), 30);
    call->handle(message("ready"));
    call->handle(message("active"));
    call->handle(message("mode", "mode", "speaking"));
    EXPECT_EQ(call->mode(), QStringLiteral("speaking"));
    call->handle(message("mode"));
    EXPECT_EQ(call->mode(), QStringLiteral("listening"));
    call->handle(message("status", "status", "thinking"));
    EXPECT_EQ(call->lastStatus(), QStringLiteral("thinking"));
    call->handle(message("status"));
    EXPECT_FALSE(call->lastStatus());
    call->handleText(QStringLiteral("not json"));
    call->handle(message("active"));
    clock.advance(30'000);
    EXPECT_EQ(call->phase(), VoiceCallModel::Phase::ended);
    EXPECT_TRUE(endRequests(1));
}

TEST_F(VoiceCallModelTest, TwoEndedMessagesSendOneEndRequest)
{
    answerSession(R"({"call_id":"call-3","token":"tok"})");
    runTask(call->begin());
    call->handle(message("ready"));
    call->handle(message("active"));
    call->handle(message("ended"));
    call->handle(message("ended"));
    call->handle(message("disconnect"));
    call->hangup();
    EXPECT_EQ(call->phase(), VoiceCallModel::Phase::ended);
    EXPECT_EQ(page.ended, 1);
    EXPECT_TRUE(endRequests(1));
    call->handle(message("active"));
    EXPECT_EQ(call->phase(), VoiceCallModel::Phase::ended) << "an ended call does not come back";
}

TEST_F(VoiceCallModelTest, PageErrorsShowAsPostedAndTheCallStaysFailed)
{
    answerSession(R"({"call_id":"call-4","token":"tok"})");
    runTask(call->begin());
    call->handle(message("ready"));
    call->handle(message("active"));
    call->handle(message("error"));
    EXPECT_EQ(call->error(), QStringLiteral("Voice error"));
    EXPECT_EQ(call->phase(), VoiceCallModel::Phase::failed);
    EXPECT_TRUE(call->endRequested());
    EXPECT_EQ(page.ended, 1);
    EXPECT_TRUE(endRequests(1));
    clock.advance(5'000);
    EXPECT_EQ(call->elapsed(), 0) << "the timer stops with the error";

    VoiceCallModel second(t->client, clock, QStringLiteral("a1"));
    second.setPage(&page);
    runTask(second.begin());
    second.handle(message("ready"));
    second.handle(message("error", "message", "Microphone access denied"));
    EXPECT_EQ(second.error(), QStringLiteral("Microphone access denied"));
    EXPECT_EQ(second.phase(), VoiceCallModel::Phase::failed);
}

TEST_F(VoiceCallModelTest, ThePageStartsTheCallOnceWhicheverComesFirst)
{
    // The page ready before the session answer.
    server.on("POST", sessionPath, FakeResponse::held(FakeResponse::json(R"({"call_id":"call-5","token":"tok"})")));
    QCoro::Task<void> opening = call->begin();
    call->handle(message("ready"));
    EXPECT_TRUE(page.started.isEmpty()) << "nothing to start before the session answers";
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    server.releaseHeld();
    runTask(std::move(opening));
    ASSERT_EQ(page.started.size(), 1);
    EXPECT_TRUE(page.started.first().contains(QStringLiteral("call-5")));
    call->handle(message("ready"));
    EXPECT_EQ(page.started.size(), 1);

    // The session answer before the page is ready.
    FakePage later;
    answerSession(R"({"call_id":"call-6","token":"tok"})");
    VoiceCallModel second(t->client, clock, QStringLiteral("a1"));
    second.setPage(&later);
    runTask(second.begin());
    EXPECT_TRUE(later.started.isEmpty());
    second.handle(message("ready"));
    second.handle(message("ready"));
    EXPECT_EQ(later.started, QStringList{second.startRaw().value()});
}

TEST_F(VoiceCallModelTest, AFailedStartShowsWhyAndAHangUpBeforeTheAnswerEndsTheCallOnceItExists)
{
    server.on("POST", sessionPath, FakeResponse::json(404, R"({"error":"Agent not found"})"));
    runTask(call->begin());
    EXPECT_EQ(call->phase(), VoiceCallModel::Phase::failed);
    EXPECT_EQ(call->error(), QStringLiteral("Agent not found"));

    server.on("POST", sessionPath, FakeResponse::held(FakeResponse::json(R"({"call_id":"call-7","token":"tok"})")));
    VoiceCallModel second(t->client, clock, QStringLiteral("a1"));
    second.setPage(&page);
    QCoro::Task<void> opening = second.begin();
    second.handle(message("ready"));
    second.hangup();
    EXPECT_EQ(second.phase(), VoiceCallModel::Phase::ended);
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    server.releaseHeld();
    runTask(std::move(opening));
    EXPECT_TRUE(page.started.isEmpty()) << "a call hung up while opening never starts on the page";
    EXPECT_TRUE(endRequests(1));
}
