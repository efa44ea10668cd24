// A voice call in the real window against the local service: the Call button of an employee's
// chat opens the call sheet with its page in a web view; the page's messages, posted through the
// web channel's bridge, move it from connecting to active, listening to speaking, and ended. Each
// phase is photographed; the finished call is in the employee's recordings.
#include "AppWindowFixture.h"
#include "ui/settings/EmployeeLogsSettings.h"
#include "ui/settings/IdentitySettings.h"
#include "ui/voice/VoiceBridge.h"
#include "ui/voice/VoiceCallSheet.h"

using namespace halvex;
using namespace halvex::test;

namespace {

class VoiceCallWindowTest : public AppWindowFixture {
protected:
    VoiceBridge* bridge() const { return window->findChild<VoiceBridge*>(); }
    QString label(const char* name) const
    {
        QQuickItem* item = find(window, name);
        return item ? item->property("text").toString() : QString();
    }
};

} // namespace

TEST_F(VoiceCallWindowTest, ACallFromTheChatHeaderFollowsThePagesMessages)
{
    launch();
    signInWithDemoAccount();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell->sidebar()->rowCount() > 2; }, kWaitMs));
    shell->sidebar()->select(QStringLiteral("a-researcher"));
    waitForConversation();
    QQuickItem* callButton = waitFor(window, "callButton");
    ASSERT_NE(callButton, nullptr) << "an employee's chat can be called";
    ASSERT_TRUE(clickInView(callButton));

    VoiceCallSheet* call = shell->voiceCall();
    ASSERT_TRUE(QTest::qWaitFor([&] { return call->isOpen(); }, kWaitMs));
    ASSERT_NE(waitFor(window, "voiceCallView"), nullptr);
    ASSERT_NE(waitFor(window, "hangUpButton"), nullptr);
    EXPECT_EQ(label("voiceCallTitle"), QStringLiteral("Call with ") + call->agentName());
    EXPECT_TRUE(call->allowsMicrophoneFor(service.origin()));
    EXPECT_FALSE(call->allowsMicrophoneFor(QUrl(QStringLiteral("https://example.com"))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return call->model()->callId().has_value(); }, kWaitMs))
        << call->error().toStdString();
    if (call->phase() == u"connecting") {
        EXPECT_EQ(label("voiceCallState"), QStringLiteral("Connecting…"));
        screenshot(window, "voice-call-connecting");
    }

    VoiceBridge* page = bridge();
    ASSERT_NE(page, nullptr) << "the web channel's object";
    page->post(QStringLiteral(R"({"type":"ready"})"));
    page->post(QStringLiteral(R"({"type":"active"})"));
    ASSERT_EQ(call->phase(), QStringLiteral("active")) << call->error().toStdString();
    page->post(QStringLiteral(R"({"type":"mode","mode":"listening"})"));
    EXPECT_EQ(label("voiceCallState"), QStringLiteral("Listening"));
    EXPECT_EQ(label("voiceCallElapsed"), QStringLiteral("0:00"));
    screenshot(window, "voice-call-listening");
    page->post(QStringLiteral(R"({"type":"mode","mode":"speaking"})"));
    EXPECT_EQ(label("voiceCallState"), QStringLiteral("Speaking"));
    screenshot(window, "voice-call-speaking");

    page->post(QStringLiteral(R"({"type":"ended"})"));
    page->post(QStringLiteral(R"({"type":"ended"})"));
    EXPECT_EQ(call->phase(), QStringLiteral("ended"));
    EXPECT_EQ(label("voiceCallState"), QStringLiteral("Call ended"));
    ASSERT_NE(waitFor(window, "closeCallButton"), nullptr);
    screenshot(window, "voice-call-ended");
    const QString callId = call->model()->callId().value();

    // Escape closes the finished call's sheet.
    window->requestActivate();
    QTest::keyClick(window, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !call->isOpen(); }, kWaitMs));

    // The finished call is among the employee's recordings, listed afresh when they are opened.
    shell->identity()->selectAgent(QStringLiteral("a-researcher"));
    EmployeeLogsSettings* logs = shell->employeeLogs();
    const auto completed = [&] {
        for (const QVariant& c : logs->calls())
            if (c.toMap().value(QStringLiteral("id")).toString() == callId)
                return true;
        return false;
    };
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            logs->open(QStringLiteral("recordings"));
            return QTest::qWaitFor([&] { return !logs->loading(); }, kWaitMs) && completed();
        },
        kWaitMs))
        << logs->error().toStdString();
}

TEST_F(VoiceCallWindowTest, APageErrorShowsOnTheSheetAndHangsUp)
{
    launch();
    signInWithDemoAccount();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell->sidebar()->rowCount() > 2; }, kWaitMs));
    shell->sidebar()->select(QStringLiteral("a-researcher"));
    waitForConversation();
    QQuickItem* callButton = waitFor(window, "callButton");
    ASSERT_NE(callButton, nullptr);
    ASSERT_TRUE(clickInView(callButton));
    VoiceCallSheet* call = shell->voiceCall();
    ASSERT_TRUE(QTest::qWaitFor([&] { return call->isOpen() && bridge(); }, kWaitMs));
    bridge()->post(QStringLiteral(R"({"type":"error","message":"Microphone access denied"})"));
    EXPECT_EQ(call->phase(), QStringLiteral("failed"));
    EXPECT_EQ(label("voiceCallState"), QStringLiteral("Microphone access denied"));
    ASSERT_NE(waitFor(window, "closeCallButton"), nullptr);
    screenshot(window, "voice-call-failed");
    click(find(window, "closeCallButton"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !call->isOpen(); }, kWaitMs));
}
