// Hiring against the real local service: an employee drafted through a clarify round and then
// chatted with, and a team drafted and created with its roster. (Hiring from the marketplace
// twice is the terminal client's end-to-end case.)
#include "SignedInTest.h"

#include "agents/service/AgentService.h"
#include "chat/service/TeamChatService.h"
#include "chat/viewmodel/ChatViewModel.h"
#include "core/async/ManualClock.h"
#include "core/prefs/AppNotifications.h"
#include "create/service/GenerationPoller.h"
#include "create/viewmodel/CreateAgentViewModel.h"
#include "session/service/AuthService.h"
#include "session/viewmodel/SessionViewModel.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/ServiceProcess.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

class HiringEndToEndTest : public SignedInTest {
protected:
    ManualClock pollClock; // the flow's poll waits; requests run in real time over loopback
    AppNotifications notifications;
    std::unique_ptr<CreateAgentViewModel> flow;

    void SetUp() override
    {
        SignedInTest::SetUp();
        if (HasFatalFailure())
            return;
        const QString avatars = service.origin().toString();
        flow = std::make_unique<CreateAgentViewModel>(CreateAgentService(t->client, avatars), pollClock, notifications);
    }

    // Runs the event loop and moves the poll waits along until `done` holds.
    bool drive(const std::function<bool()>& done)
    {
        return processUntil([&] {
            if (done())
                return true;
            const qint64 next = pollClock.nextDueIn();
            if (next >= 0 && next <= GenerationPollCounter::intervalMs)
                pollClock.advance(next);
            return false;
        });
    }
    // Picks the first option of every question and continues through the pages.
    void answerEveryQuestion()
    {
        for (const ClarifyQuestion& q : flow->clarifyQuestions()) {
            const QList<ClarifyOption> options = q.options.value_or(QList<ClarifyOption>());
            if (!options.isEmpty())
                flow->choices.insert(q.id(),
                                     {options.first().value.value_or(options.first().label.value_or(QString()))});
            else
                flow->customAnswers.insert(q.id(), QStringLiteral("Whatever works best"));
        }
    }
};

} // namespace

TEST_F(HiringEndToEndTest, AnEmployeeDraftedThroughAClarifyRoundAnswersInItsChat)
{
    flow->brief = QStringLiteral("Answer customer e-mails about late deliveries");
    auto first = flow->generate();
    ASSERT_TRUE(drive([&] { return flow->step() != CreateFlowStep::generating; }));
    runTask(std::move(first));
    ASSERT_EQ(flow->step(), CreateFlowStep::clarify) << flow->error().value_or(QString()).toStdString();
    ASSERT_FALSE(flow->clarifyQuestions().isEmpty());

    answerEveryQuestion();
    while (flow->questionGroup() < flow->clarifyGroups().size() - 1)
        runTask(flow->clarifyContinue());
    auto second = flow->clarifyContinue();
    ASSERT_TRUE(drive([&] { return flow->step() != CreateFlowStep::generating; }));
    runTask(std::move(second));
    ASSERT_EQ(flow->step(), CreateFlowStep::review) << flow->error().value_or(QString()).toStdString();
    ASSERT_TRUE(flow->draft()->systemPrompt.has_value());

    runTask(flow->create());
    ASSERT_EQ(flow->step(), CreateFlowStep::done) << flow->error().value_or(QString()).toStdString();
    const QString id = flow->createdId().value_or(QString());
    ASSERT_FALSE(id.isEmpty());

    AgentService agents(t->client);
    const AgentsListResponse list = runTask(agents.list());
    const auto hired
        = std::find_if(list.agents.cbegin(), list.agents.cend(), [&](const Agent& a) { return a.id == id; });
    ASSERT_NE(hired, list.agents.cend()) << "the new employee is in the sidebar's list";
    EXPECT_EQ(hired->name, flow->finalName());

    ChatViewModel chat(ChatBackend::agent(*hired), t->client, Clock::system(), std::nullopt, cache);
    runTask(chat.start());
    runTask(chat.send(QStringLiteral("Hello, who are you?")));
    ASSERT_TRUE(processUntil([&] {
        return std::any_of(chat.messages().cbegin(), chat.messages().cend(),
                           [](const ChatMessage& m) { return m.isAssistant(); })
            && !chat.isThinking();
    }));
    chat.stop();
}

TEST_F(HiringEndToEndTest, ATeamIsCreatedWithItsRoster)
{
    flow->kind = CreateKind::team;
    flow->brief = QStringLiteral("A content team that plans, writes and edits our blog, right away");
    auto generating = flow->generate(true);
    ASSERT_TRUE(drive([&] { return flow->step() != CreateFlowStep::generating; }));
    runTask(std::move(generating));
    ASSERT_EQ(flow->step(), CreateFlowStep::review) << flow->error().value_or(QString()).toStdString();
    const qsizetype members = flow->teamDraft()->members.value_or(QList<TeamMemberDraft>()).size();
    EXPECT_GE(members, 2);
    EXPECT_LE(members, 5);

    runTask(flow->createTeam());
    ASSERT_EQ(flow->step(), CreateFlowStep::done) << flow->error().value_or(QString()).toStdString();
    TeamChatService teams(t->client);
    const TeamChatResponse team = runTask(teams.load(flow->createdTeamSlug().value_or(QString()), 5, std::nullopt));
    EXPECT_GE(team.agents.size(), members) << "every drafted member is on the roster";
}
