// Dictation and a voice call against the real local service: speech made with espeak-ng comes
// back as its words, and a call opened and ended twice by its page is one completed call in the
// employee's call log.
#include "SignedInTest.h"

#include "agents/service/AgentService.h"
#include "core/async/ManualClock.h"
#include "governance/service/GovernanceService.h"
#include "session/service/AuthService.h"
#include "session/viewmodel/SessionViewModel.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/ServiceProcess.h"
#include "support/TestClient.h"
#include "voice/viewmodel/VoiceCallModel.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

struct RecordingPage : VoiceCallPage {
    QStringList started;
    int ended = 0;
    void startCall(const QString& raw) override { started << raw; }
    void endCall() override { ++ended; }
};

JSONObject pageMessage(const char* type) { return {{QStringLiteral("type"), JSONValue(type)}}; }

class VoiceEndToEndTest : public EmployeeTest {
protected:
    // `words` spoken by espeak-ng into a WAV file; empty when it could not speak.
    static QByteArray speech(const QString& words, const QTemporaryDir& dir)
    {
        const QString out = dir.filePath(QStringLiteral("speech.wav"));
        QProcess espeak;
        espeak.start(QStringLiteral("espeak-ng"),
                     {QStringLiteral("-v"), QStringLiteral("en-us+klatt"), QStringLiteral("-s"), QStringLiteral("150"),
                      QStringLiteral("-w"), out, words});
        // Waiting for the child to finish, not for time to pass.
        if (!espeak.waitForFinished(-1) || espeak.exitCode() != 0)
            return {};
        QFile file(out);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(VoiceEndToEndTest, DictatedSpeechComesBackAsItsWords)
{
    QTemporaryDir dir;
    const QByteArray wav = speech(QStringLiteral("the weather is nice today"), dir);
    ASSERT_FALSE(wav.isEmpty()) << "espeak-ng is needed";
    VoiceService voice(t->client);
    const QString text = runTask(voice.transcribe(wav, QStringLiteral("speech.wav"), QStringLiteral("audio/wav")));
    EXPECT_TRUE(text.contains(QStringLiteral("weather"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("today"))) << text.toStdString();

    try {
        runTask(
            voice.transcribe("just words in a text file", QStringLiteral("notes.m4a"), QStringLiteral("audio/mp4")));
        ADD_FAILURE() << "text is not a recording";
    } catch (const APIError& e) {
        EXPECT_FALSE(e.description().isEmpty());
    }
}

TEST_F(VoiceEndToEndTest, ACallEndedTwiceIsOneCompletedCallInTheLog)
{
    GovernanceService governance(t->client);
    const qsizetype before = runTask(governance.calls(employee.id, 30)).size();
    ManualClock clock;
    RecordingPage page;
    VoiceCallModel call(t->client, clock, employee.id);
    call.setPage(&page);
    runTask(call.begin());
    ASSERT_NE(call.phase(), VoiceCallModel::Phase::failed) << call.error().value_or(QString()).toStdString();
    ASSERT_TRUE(call.callId());
    EXPECT_EQ(call.maxSecs(), 600);
    call.handle(pageMessage("ready"));
    ASSERT_EQ(page.started.size(), 1);
    const JSONObject session = JSONValue::parse(page.started.first().toUtf8()).toObject();
    EXPECT_EQ(session.value(QStringLiteral("call_id")).toString(), *call.callId());
    EXPECT_FALSE(session.value(QStringLiteral("token")).toString().isEmpty());
    call.handle(pageMessage("active"));
    clock.advance(3'000);
    EXPECT_EQ(call.elapsed(), 3);
    call.handle(pageMessage("ended"));
    call.handle(pageMessage("ended"));
    EXPECT_EQ(call.phase(), VoiceCallModel::Phase::ended);
    EXPECT_EQ(page.ended, 1);

    QList<VoiceCallRecord> calls;
    ASSERT_TRUE(processUntil([&] {
        calls = runTask(governance.calls(employee.id, 30));
        return !calls.isEmpty() && calls.first().status != QStringLiteral("in_progress");
    })) << "the end request reaches the service";
    EXPECT_EQ(calls.size(), before + 1) << "one call, however often it ended";
    EXPECT_EQ(calls.first().id, *call.callId()) << "the newest call comes first";
    EXPECT_EQ(calls.first().status, QStringLiteral("completed"));
    EXPECT_TRUE(calls.first().endedAt);
}
