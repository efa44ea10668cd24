// The employee's computer against the real local service: a session opened by the user has a
// live view page the app's web view can load without a cookie, and a research turn's browse
// steps show up as the researcher's live session, which the side panel's watcher picks.
#include "SignedInTest.h"

#include "agents/service/AgentService.h"
#include "chat/viewmodel/ChatViewModel.h"
#include "computer/service/ComputerService.h"
#include "computer/viewmodel/AgentLiveBrowserModel.h"
#include "core/async/ManualClock.h"
#include "session/service/AuthService.h"
#include "session/viewmodel/SessionViewModel.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/ServiceProcess.h"
#include "support/TestClient.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

const QString researcher = QStringLiteral("a-researcher");

class ComputerEndToEndTest : public SignedInTest {
protected:
    // The page as the web view loads it: a plain GET without the session's cookie.
    static std::pair<int, QByteArray> fetchPage(const QString& address, QByteArray* contentType)
    {
        QNetworkAccessManager network;
        QNetworkReply* reply = network.get(QNetworkRequest(QUrl(address)));
        EXPECT_TRUE(processUntil([&] { return reply->isFinished(); }));
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        *contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
        const QByteArray body = reply->readAll();
        reply->deleteLater();
        return {status, body};
    }

    // The researcher's sessions, asked for again until one shows: the service starts the
    // browser of a browse step on its own thread.
    std::optional<AgentBrowserSession> waitForSession(ComputerService& computer)
    {
        for (int attempt = 0; attempt < 150; ++attempt) {
            const ComputerStateResponse state = runTask(computer.state(researcher));
            for (const AgentBrowserSession& s : state.computer.agentSessions)
                if (s.agentId == researcher)
                    return s;
            QEventLoop pause;
            QTimer::singleShot(100, &pause, &QEventLoop::quit);
            pause.exec();
        }
        return std::nullopt;
    }
};

} // namespace

TEST_F(ComputerEndToEndTest, AnOpenedSessionHasALiveViewPageAndIsTheEmployeesCurrentSession)
{
    ComputerService computer(t->client);
    const ComputerStateResponse before = runTask(computer.state(researcher));
    EXPECT_TRUE(before.ok);
    EXPECT_FALSE(before.computer.providers.isEmpty());
    EXPECT_FALSE(before.computer.sessionActive.value_or(false));
    EXPECT_TRUE(before.computer.agentSessions.isEmpty());

    const ComputerOpenResponse opened = runTask(computer.openSession(researcher, QString()));
    EXPECT_TRUE(opened.ok);
    EXPECT_EQ(opened.reused, false);
    ASSERT_TRUE(opened.sessionId && opened.liveViewUrl);
    EXPECT_TRUE(opened.sessionId->startsWith(QStringLiteral("cs-")));
    EXPECT_TRUE(opened.liveViewUrl->endsWith(QStringLiteral("/computer/live/") + *opened.sessionId));

    QByteArray contentType;
    const auto [status, page] = fetchPage(*opened.liveViewUrl, &contentType);
    EXPECT_EQ(status, 200);
    EXPECT_TRUE(contentType.startsWith("text/html")) << contentType.toStdString();
    EXPECT_TRUE(page.contains("<html")) << page.left(200).toStdString();

    const ComputerOpenResponse again = runTask(computer.openSession(researcher, QString()));
    EXPECT_EQ(again.reused, true);
    EXPECT_EQ(again.sessionId, opened.sessionId);

    ManualClock clock;
    AgentLiveBrowserModel model(t->client, clock, researcher);
    runTask(model.refresh());
    ASSERT_TRUE(model.current().has_value());
    EXPECT_EQ(model.current()->sessionId, *opened.sessionId);
    EXPECT_EQ(model.current()->url, *opened.liveViewUrl);
    EXPECT_TRUE(model.state()->sessionActive.value_or(false));

    QByteArray ignored;
    EXPECT_EQ(
        fetchPage(service.origin().toString() + QStringLiteral("/computer/live/cs-000000000000000000000000"), &ignored)
            .first,
        404)
        << "an unknown session has no live view";
}

TEST_F(ComputerEndToEndTest, AResearchTurnsBrowseStepsShowAsTheResearchersLiveSession)
{
    ComputerService computer(t->client);
    const ComputerStateResponse state = runTask(computer.state(researcher));
    if (state.computer.status == u"unavailable")
        GTEST_SKIP() << "no browser on this machine: browse steps open no session";

    AgentService agents(t->client);
    const Agent agent = runTask(agents.detail(researcher));
    ChatViewModel chat(ChatBackend::agent(agent), t->client, Clock::system(), std::nullopt, cache);
    int browseActivity = 0;
    chat.onBrowserActivity = [&] { ++browseActivity; };
    runTask(chat.start());
    chat.setInput(QStringLiteral("Please research and compare three project tools for a small team"));
    runTask(chat.send());
    ASSERT_TRUE(processUntil([&] { return !chat.isThinking(); }, 60'000));
    bool browsed = false;
    for (const ChatMessage& m : chat.messages())
        browsed = browsed || (m.isStep() && m.metadata.toolIdentifier() == QStringLiteral("browser_navigate"));
    EXPECT_TRUE(browsed) << "a research turn opens pages";
    chat.stop();

    const std::optional<AgentBrowserSession> session = waitForSession(computer);
    ASSERT_TRUE(session.has_value()) << "the turn's browsing lists the researcher's session";
    EXPECT_TRUE(session->sessionId.value_or(QString()).startsWith(QStringLiteral("cs-")));
    EXPECT_FALSE(session->liveViewUrl.value_or(QString()).isEmpty());
    EXPECT_FALSE(session->agentName.value_or(QString()).isEmpty());

    ManualClock clock;
    AgentLiveBrowserModel model(t->client, clock, researcher);
    runTask(model.refresh());
    ASSERT_TRUE(model.current().has_value());
    EXPECT_EQ(model.current()->sessionId, session->sessionId.value_or(QString()));
    QByteArray contentType;
    EXPECT_EQ(fetchPage(model.current()->url, &contentType).first, 200);
}
