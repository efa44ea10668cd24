// Dictation with a test audio source: a recording stops by itself at two minutes and hands over
// its bytes with the file deleted; a refused or missing microphone records nothing; a stopped
// recording goes to the service as "audio/mp4" under its file name and its text comes back for
// the chat's input.
#include "core/async/ManualClock.h"
#include "support/FakeServer.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/TestClient.h"
#include "voice/viewmodel/DictationModel.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

const QByteArray kAudio("\x00\x00\x00\x20"
                        "ftypM4A test audio",
                        22);

// Writes a fixed recording into the file it is given; the microphone answer is set by the test.
struct TestAudioSource : AudioRecorderBackend {
    Microphone answer = Microphone::allowed;
    QString file;
    int starts = 0;
    bool recording = false;

    Microphone microphone() override { return answer; }
    bool start(const QString& path) override
    {
        ++starts;
        file = path;
        recording = true;
        QFile out(path);
        return out.open(QIODevice::WriteOnly) && out.write(kAudio) == kAudio.size();
    }
    void stop(std::function<void()> finished) override
    {
        recording = false;
        finished();
    }
};

class DictationTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server, &clock);
    TestAudioSource source;
};

} // namespace

TEST_F(DictationTest, ARecordingStopsByItselfAtTwoMinutesAndDeliversItsBytes)
{
    VoiceRecorder recorder(source, clock);
    std::optional<QByteArray> delivered;
    int deliveries = 0;
    recorder.onAutoStop = [&](std::optional<QByteArray> bytes) {
        delivered = std::move(bytes);
        ++deliveries;
    };
    ASSERT_TRUE(recorder.start());
    EXPECT_TRUE(recorder.isRecording());
    const QFileInfo file(source.file);
    EXPECT_TRUE(file.fileName().startsWith(QStringLiteral("hx-voice-"))) << source.file.toStdString();
    EXPECT_TRUE(file.fileName().endsWith(QStringLiteral(".m4a")));
    EXPECT_EQ(file.fileName(), recorder.fileName());
    EXPECT_TRUE(file.exists());

    clock.advance(200);
    EXPECT_DOUBLE_EQ(recorder.elapsed(), 0.2);
    clock.advance(119'600);
    EXPECT_TRUE(recorder.isRecording());
    EXPECT_EQ(deliveries, 0);
    clock.advance(200);
    EXPECT_EQ(deliveries, 1);
    EXPECT_EQ(delivered, kAudio);
    EXPECT_FALSE(recorder.isRecording());
    EXPECT_FALSE(source.recording);
    EXPECT_DOUBLE_EQ(recorder.elapsed(), 0);
    EXPECT_FALSE(QFile::exists(source.file)) << "the recording is deleted once read";
    EXPECT_EQ(clock.pendingCount(), 0);

    // Stopping by hand hands the bytes to the caller instead.
    ASSERT_TRUE(recorder.start());
    std::optional<QByteArray> stopped;
    recorder.stop([&](std::optional<QByteArray> bytes) { stopped = std::move(bytes); });
    EXPECT_EQ(stopped, kAudio);
    EXPECT_EQ(deliveries, 1);
    EXPECT_FALSE(QFile::exists(source.file));
}

TEST_F(DictationTest, ARefusedOrMissingMicrophoneRecordsNothing)
{
    DictationModel dictation(t->client, clock, source);
    source.answer = AudioRecorderBackend::Microphone::refused;
    dictation.toggle();
    EXPECT_EQ(dictation.phase(), DictationModel::Phase::idle);
    EXPECT_EQ(dictation.error(), QStringLiteral("Microphone access denied"));
    EXPECT_EQ(source.starts, 0);
    EXPECT_EQ(clock.pendingCount(), 0);

    source.answer = AudioRecorderBackend::Microphone::missing;
    dictation.toggle();
    EXPECT_EQ(dictation.error(), QStringLiteral("No microphone found"));
    EXPECT_EQ(source.starts, 0);
    EXPECT_TRUE(dictation.status().isEmpty());
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(DictationTest, AStoppedRecordingIsTranscribedForTheChatInput)
{
    server.on("POST", QStringLiteral("/api/v2/transcribe"), FakeResponse::json(R"({"text":" hello world "})"));
    DictationModel dictation(t->client, clock, source);
    QStringList heard;
    QObject::connect(&dictation, &DictationModel::transcribed, [&](const QString& text) { heard << text; });
    dictation.toggle();
    ASSERT_EQ(dictation.phase(), DictationModel::Phase::recording);
    clock.advance(7'000);
    EXPECT_EQ(dictation.status(), QStringLiteral("Listening… 0:07"));

    dictation.toggle();
    EXPECT_EQ(dictation.phase(), DictationModel::Phase::transcribing);
    EXPECT_EQ(dictation.status(), QStringLiteral("Transcribing…"));
    dictation.toggle();
    EXPECT_EQ(dictation.phase(), DictationModel::Phase::transcribing) << "one recording at a time";
    ASSERT_TRUE(processUntil([&] { return heard.count() == 1; }));
    EXPECT_EQ(heard.first(), QStringLiteral("hello world"));
    EXPECT_EQ(dictation.phase(), DictationModel::Phase::idle);
    EXPECT_FALSE(dictation.error());

    const RecordedRequest upload = server.last();
    EXPECT_TRUE(upload.header("content-type").startsWith("multipart/form-data"));
    const QByteArray part = "name=\"file\"; filename=\"" + dictation.recorder().fileName().toUtf8() + "\"";
    EXPECT_TRUE(upload.body.contains(part)) << upload.body.left(300).toStdString();
    EXPECT_TRUE(upload.body.contains("Content-Type: audio/mp4"));
    EXPECT_TRUE(upload.body.contains(kAudio));

    // Two minutes of talking are transcribed without a second click.
    server.on("POST", QStringLiteral("/api/v2/transcribe"), FakeResponse::json(400, R"({"error":"Not audio"})"));
    dictation.toggle();
    clock.advance(120'000);
    EXPECT_EQ(dictation.phase(), DictationModel::Phase::transcribing);
    ASSERT_TRUE(processUntil([&] { return dictation.phase() == DictationModel::Phase::idle; }));
    EXPECT_EQ(dictation.error(), QStringLiteral("Not audio"));
    EXPECT_EQ(heard.count(), 1);
}

TEST(VoiceText, ElapsedTimeDictatedTextAndTheSessionAnswer)
{
    EXPECT_EQ(voice::minutesSeconds(0), QStringLiteral("0:00"));
    EXPECT_EQ(voice::minutesSeconds(7), QStringLiteral("0:07"));
    EXPECT_EQ(voice::minutesSeconds(600), QStringLiteral("10:00"));
    EXPECT_EQ(voice::minutesSeconds(-3), QStringLiteral("0:00"));

    EXPECT_EQ(voice::appendDictation(QString(), QStringLiteral(" hello ")), QStringLiteral("hello"));
    EXPECT_EQ(voice::appendDictation(QStringLiteral("Note:"), QStringLiteral("hello")), QStringLiteral("Note: hello"));
    EXPECT_EQ(voice::appendDictation(QStringLiteral("Note:\n"), QStringLiteral("hello")),
              QStringLiteral("Note:\nhello"));
    EXPECT_EQ(voice::appendDictation(QStringLiteral("Note"), QStringLiteral("  ")), QStringLiteral("Note"));

    EXPECT_EQ(VoiceService::answerText("{\"call_id\":\"c\"}"), QStringLiteral("{\"call_id\":\"c\"}"));
    EXPECT_EQ(VoiceService::answerText(QByteArray("\xff\xfe\xfa", 3)), QStringLiteral("{}"));
    const VoiceCapability off = decodeJSON<VoiceCapability>(R"({"available":false,"reason":"No microphone"})");
    EXPECT_FALSE(off.available);
    EXPECT_EQ(off.reason, QStringLiteral("No microphone"));
    EXPECT_TRUE(decodeJSON<VoiceCapability>(R"({"available":true})").available);
}
