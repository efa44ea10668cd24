#include "desktop/viewmodel/ChatAlertWatcher.h"

#include "chat/viewmodel/ChatVMFixture.h"

using namespace halvex;
using namespace halvex::test;
using namespace Qt::StringLiterals;

namespace {

class ChatAlertWatcherTest : public ChatVMTest {
protected:
    ChatAlertWatcher watcher;
    QList<DesktopAlert> alerts;

    void SetUp() override
    {
        ChatVMTest::SetUp();
        QObject::connect(&watcher, &ChatAlertWatcher::alert, [this](const DesktopAlert& a) { alerts.append(a); });
    }

    static ChatMessage approval(qint64 id, const char* text)
    {
        ChatMessage m = message(id, "assistant", text);
        m.metadata.raw.insert(u"kind"_s, JSONValue(u"approval_request"_s));
        return m;
    }
};

} // namespace

TEST_F(ChatAlertWatcherTest, WhatTheChatHeldWhenItOpenedIsNotNews)
{
    auto vm = startedAgentChat({messageJSON(1, "assistant", "Old ask", R"({"kind":"approval_request"})"),
                                messageJSON(2, "user", "Draft the reply")});
    watcher.follow(vm.get());
    ASSERT_TRUE(vm->isThinking());
    EXPECT_TRUE(alerts.isEmpty());

    vm->ingest(message(3, "step", "Reading the ticket"));
    EXPECT_TRUE(alerts.isEmpty());
    vm->ingest(message(4, "assistant", "Here is the reply."));
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts.first().kind, DesktopAlertKind::turnFinished);
    EXPECT_EQ(alerts.first().chatId, u"a1"_s);
    EXPECT_EQ(alerts.first().chatName, u"Ada"_s);
    EXPECT_EQ(alerts.first().detail, u"Here is the reply."_s);
}

TEST_F(ChatAlertWatcherTest, ATurnEndingOnAnApprovalIsAnnouncedAsTheApprovalOnce)
{
    auto vm = startedAgentChat({messageJSON(1, "user", "Refund order 12")});
    watcher.follow(vm.get());
    vm->ingest(approval(2, "Send a refund of 40 EUR?"));
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts.first().kind, DesktopAlertKind::approvalWaiting);
    EXPECT_EQ(alerts.first().detail, u"Send a refund of 40 EUR?"_s);

    // The same card updated, or any other change, is not a second alert.
    vm->ingest(approval(2, "Send a refund of 40 EUR?"));
    vm->setInput(u"typing"_s);
    EXPECT_EQ(alerts.size(), 1);

    // A chat no longer followed is silent.
    watcher.follow(nullptr);
    vm->ingest(message(3, "user", "Yes"));
    vm->ingest(approval(4, "And the shipping?"));
    EXPECT_EQ(alerts.size(), 1);
}
