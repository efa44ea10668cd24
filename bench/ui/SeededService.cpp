#include "SeededService.h"

#include "ProbeSupport.h"

#include "agents/service/AgentService.h"
#include "chat/service/ChatService.h"
#include "chat/service/TeamChatService.h"
#include "computer/service/ComputerService.h"
#include "core/net/APIClient.h"
#include "core/net/PersistentCookieJar.h"
#include "session/service/AuthService.h"
#include "support/RunTask.h"

#include <QUuid>

namespace halvex::bench {

namespace {

// A mix of what people ask: plain requests, research with browsing steps, choices, a long page
// extract and a failed search. No approvals or goals: those park a turn until someone answers.
const QStringList kTurnTexts{
    QStringLiteral("Summarise where the launch plan stands"),
    QStringLiteral("Compare the pricing of two analytics tools"),
    QStringLiteral("Give me options for the onboarding e-mail"),
    QStringLiteral("Read this long step about our market"),
    QStringLiteral("Draft three subject lines for the newsletter"),
    QStringLiteral("Research who else sells to small agencies"),
    QStringLiteral("Check the weekly numbers, fail loudly if the source is down"),
};
constexpr int kTurnsPerChat = 36;

} // namespace

SeededService& SeededService::instance()
{
    static SeededService service;
    return service;
}

SeededService::SeededService()
{
    if (qEnvironmentVariableIsEmpty("HALVEX_SERVICE_BIN") || !m_service.start())
        m_error = QStringLiteral("the local service did not start (HALVEX_SERVICE_BIN)");
    else if (!m_dir.isValid())
        m_error = QStringLiteral("no temporary folder");
    else
        seed();
}

void SeededService::seed()
{
    PersistentCookieJar jar(cookieFile());
    APIClient api(m_service.origin(), &jar);
    try {
        AuthService auth(api);
        test::runTask(auth.login(m_service.demoEmail(), m_service.demoPassword()));
        // Research turns would start a headless browser per employee on this machine, and those
        // would go on drawing beside every measured start; the figures are of the app alone.
        test::runTask(ComputerService(api).setProvider(QStringLiteral("none"), QString()));
        AgentService agents(api);
        // Two more hired employees, so eight chats can be opened from the employee tab.
        for (const QString& name : {QStringLiteral("Editor"), QStringLiteral("Sales Desk")}) {
            const Agent hired = test::runTask(agents.createModelChat(name, std::nullopt));
            JSONObject employee{{QStringLiteral("preset_kind"), QStringLiteral("custom")}};
            test::runTask(agents.patch(hired.id, std::move(employee)));
        }
        const AgentsListResponse list = test::runTask(agents.list());
        ChatService chat(api);
        TeamChatService team(api);
        for (int turn = 0; turn < kTurnsPerChat; ++turn) {
            const QString text = kTurnTexts.at(turn % kTurnTexts.size());
            for (const Agent& agent : list.agents) {
                // Some employees (workers) do not chat; their history stays as seeded.
                try {
                    test::runTask(chat.send(agent.id, text, {}, QUuid::createUuid().toString(QUuid::WithoutBraces)));
                } catch (const std::exception&) {}
            }
            try {
                test::runTask(team.send(QStringLiteral("growth"), text, {}));
            } catch (const std::exception&) {}
            // Turns play on the service's threads; one at a time per chat keeps the order real.
            settle(20);
        }
        settle(1'000);
    } catch (const std::exception& e) {
        m_error = QStringLiteral("seeding failed: %1").arg(QString::fromUtf8(e.what()));
    }
}

} // namespace halvex::bench
