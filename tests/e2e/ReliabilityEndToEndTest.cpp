// Hundreds of turns over several chats against the real local service while its stream faults
// are switched on one after the other. Afterwards every chat's list must be the service's stored
// history exactly: nothing lost, nothing twice, in id order. Polls and back-offs run on a
// ManualClock that the driver steps whenever the chats are idle, so minutes of healing cost
// milliseconds.
#include "agents/service/AgentService.h"
#include "agents/viewmodel/AgentListViewModel.h"
#include "chat/service/ChatService.h"
#include "chat/service/SSEClient.h"
#include "chat/service/TeamChatService.h"
#include "chat/viewmodel/ChatViewModel.h"
#include "core/async/ManualClock.h"
#include "core/prefs/Preferences.h"
#include "session/service/AuthService.h"
#include "session/viewmodel/SessionViewModel.h"
#include "support/RunTask.h"
#include "support/ServiceProcess.h"
#include "support/TestClient.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace halvex;
using namespace halvex::test;

namespace {

constexpr int kTurnsPerPhase = 30;
constexpr int kTurnGuardMs = 20'000; // real time; only against a hung run

struct OpenChat {
    ChatBackend backend;
    std::unique_ptr<ChatViewModel> vm;
    int unauthorized = 0;
};

QList<qint64> idsOf(const QList<ChatMessage>& messages)
{
    QList<qint64> out;
    for (const ChatMessage& m : messages)
        out.append(m.id);
    return out;
}

bool isUsageLine(const ChatMessage& m)
{
    return m.metadata.raw.value(QStringLiteral("kind")) == JSONValue(QStringLiteral("turn_spend"));
}

class ReliabilityEndToEndTest : public ::testing::Test {
protected:
    ServiceProcess service;
    ManualClock clock;
    std::unique_ptr<TestClient> t;
    ChatHistoryCache cache;
    QTemporaryDir dir;
    std::vector<std::unique_ptr<OpenChat>> chats;

    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("HALVEX_SERVICE_BIN"))
            << "end-to-end cases run against the local service";
        ASSERT_TRUE(service.start());
        t = makeTestClient(service.origin(), &clock);
        SessionViewModel session{AuthService(t->client)};
        runTask(session.login(service.demoEmail(), service.demoPassword()));
        ASSERT_TRUE(session.state().isLoggedIn()) << session.authErrorText().toStdString();
    }

    // Two employees and a team, as the sidebar lists them (the local service serves each open
    // stream from a worker thread of a small pool).
    QList<ChatBackend> pickChats()
    {
        Preferences preferences(dir.filePath(QStringLiteral("p.ini")));
        AgentService agents(t->client);
        AgentListViewModel sidebar(t->client, agents, preferences);
        runTask(sidebar.loadCoalesced());
        QList<ChatBackend> agentChats;
        QList<ChatBackend> teamChats;
        for (const SidebarSection& section : sidebar.sections())
            for (const SidebarItem& item : section.items) {
                if (item.kind() == SidebarItem::Kind::agent && agentChats.size() < 2)
                    agentChats.append(ChatBackend::agent(item.agent()));
                else if (item.kind() == SidebarItem::Kind::team && teamChats.isEmpty())
                    teamChats.append(ChatBackend::team(item.team().slug, item.team().label));
            }
        return agentChats + teamChats;
    }

    void open(const ChatBackend& backend)
    {
        auto chat = std::unique_ptr<OpenChat>(new OpenChat{backend, nullptr, 0});
        chat->vm = std::make_unique<ChatViewModel>(backend, t->client, clock, std::nullopt, cache);
        OpenChat* raw = chat.get();
        QObject::connect(chat->vm.get(), &ChatViewModel::unauthorized, [raw] { ++raw->unauthorized; });
        runTask(chat->vm->start());
        chats.push_back(std::move(chat));
    }

    // Runs the event loop with virtual time at twenty times real time. Faster would outrun the
    // service's real-time keep-alive (a comment a second) and time every stream out at 35 s.
    bool drive(const std::function<bool()>& done)
    {
        QElapsedTimer guard;
        guard.start();
        const qint64 virtualStart = clock.monotonicMs();
        while (!done()) {
            if (guard.elapsed() > kTurnGuardMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
            const qint64 behind = virtualStart + guard.elapsed() * 20 - clock.monotonicMs();
            if (!done() && behind > 0 && clock.nextDueIn() >= 0)
                clock.advance(qMin(behind, clock.nextDueIn()));
            else if (!done() && behind > 0)
                clock.advance(behind);
        }
        return true;
    }

    static std::string describe(const ChatViewModel& vm)
    {
        std::string out = vm.isThinking() ? "working;" : "idle;";
        const QList<ChatMessage>& list = vm.messages();
        for (qsizetype i = qMax<qsizetype>(0, list.size() - 6); i < list.size(); ++i)
            out += " #" + std::to_string(list[i].id) + " " + list[i].role.toStdString() + " "
                + list[i].metadata.raw.value(QStringLiteral("kind")).toString().toStdString() + " \""
                + list[i].content.left(30).toStdString() + "\"";
        return out;
    }

    static bool turnFinished(const ChatViewModel& vm, const QString& text)
    {
        const QList<ChatMessage>& list = vm.messages();
        qint64 userId = 0;
        for (const ChatMessage& m : list) {
            if (m.id < 0)
                return false;
            if (m.isUser() && m.content == text)
                userId = m.id;
            if (userId > 0 && m.id > userId && isUsageLine(m))
                return !vm.isThinking();
        }
        return false;
    }

    // Everything the service stores for the chat from `firstId` on, paged back from the newest.
    QList<ChatMessage> stored(const ChatBackend& backend, qint64 firstId)
    {
        QList<ChatMessage> all;
        std::optional<qint64> before;
        for (;;) {
            QList<ChatMessage> page;
            bool more = false;
            if (const Agent* agent = backend.agentValue()) {
                ChatService service(t->client);
                const ChatHistoryResponse r = runTask(service.history(agent->id, 200, std::nullopt, before));
                page = r.messages;
                more = r.page && r.page->hasMore;
            } else {
                TeamChatService service(t->client);
                const TeamChatResponse r = runTask(service.load(backend.teamValue()->slug, 200, before));
                page = r.messages;
                more = r.page && r.page->hasMore;
            }
            all = page + all;
            if (page.isEmpty() || !more || page.first().id <= firstId)
                break;
            before = page.first().id;
        }
        QList<ChatMessage> out;
        for (const ChatMessage& m : all)
            if (m.id >= firstId)
                out.append(m);
        return out;
    }

    // Lets the heal poll catch up with everything the faults hid, then compares.
    void expectListsMatchTheService(const char* phase)
    {
        for (const auto& chat : chats) {
            const qint64 first = chat->vm->messages().isEmpty() ? 1 : chat->vm->messages().first().id;
            const QList<qint64> expected = idsOf(stored(chat->backend, first));
            const bool caughtUp = drive([&] { return idsOf(chat->vm->messages()) == expected; });
            EXPECT_TRUE(caughtUp) << phase << ": " << chat->backend.id().toStdString();
            const QList<qint64> got = idsOf(chat->vm->messages());
            EXPECT_EQ(got, expected) << phase << ": " << chat->backend.id().toStdString();
            EXPECT_EQ(QSet<qint64>(got.begin(), got.end()).size(), got.size()) << "a message twice in " << phase;
            EXPECT_TRUE(std::is_sorted(got.begin(), got.end())) << phase;
            // Contents too: a step update that overtook its own insert, or fell into a stream
            // gap, must not leave the running copy behind.
            const QList<ChatMessage> service = stored(chat->backend, first);
            for (qsizetype i = 0; i < qMin(service.size(), chat->vm->messages().size()); ++i)
                EXPECT_EQ(chat->vm->messages()[i], service[i])
                    << phase << ": message " << service[i].id << " differs from the service's copy";
        }
    }
};

} // namespace

TEST_F(ReliabilityEndToEndTest, TurnsSurviveEveryStreamFault)
{
    const QList<ChatBackend> backends = pickChats();
    ASSERT_GE(backends.size(), 2);
    for (const ChatBackend& backend : backends)
        open(backend);

    struct Phase {
        const char* name;
        QByteArray faults;
    };
    const QList<Phase> phases = {
        {"clean", "{}"},
        {"drop after 3 events", R"({"stream_drop_after":3})"},
        {"refuse the next 3 connections", R"({"stream_fail_next":{"count":3,"status":503}})"},
        {"refuse connections for 300 ms", R"({"stream_fail_for_ms":300,"stream_drop_after":5})"},
        {"slow events", R"({"stream_delay_ms":2})"},
        {"duplicated events", R"({"stream_duplicate_next":60})"},
        {"reordered events", R"({"stream_reorder_next":60})"},
    };
    int turns = 0;
    for (const Phase& phase : phases) {
        ASSERT_TRUE(service.setFaults(phase.faults)) << phase.name;
        for (int i = 0; i < kTurnsPerPhase; ++i) {
            OpenChat& chat = *chats[size_t(turns % int(chats.size()))];
            const QString text = QStringLiteral("status check %1").arg(turns);
            runTask(chat.vm->send(text));
            ASSERT_FALSE(chat.vm->error().has_value()) << phase.name << ": " << chat.vm->errorText().toStdString();
            ASSERT_TRUE(drive([&] { return turnFinished(*chat.vm, text); }))
                << phase.name << ", turn " << turns << ": " << describe(*chat.vm) << ", stream "
                << (chat.vm->isStreamReady() ? "ready" : "not ready");
            ++turns;
        }
        ASSERT_TRUE(service.setFaults(R"({"stream_drop_after":0,"stream_fail_next":{"count":0},"stream_fail_for_ms":0,
                                          "stream_delay_ms":0,"stream_duplicate_next":0,"stream_reorder_next":0})"));
        expectListsMatchTheService(phase.name);
    }
    EXPECT_GE(turns, 200);
    for (const auto& chat : chats)
        EXPECT_EQ(chat->unauthorized, 0);
}

TEST_F(ReliabilityEndToEndTest, RefusedStreamRetriesOnTheDocumentedBackoff)
{
    const QList<ChatBackend> backends = pickChats();
    ASSERT_FALSE(backends.isEmpty());
    ManualClock streamClock;
    SSEClient stream(service.origin(), &t->jar, &streamClock);
    QList<qint64> reconnectAt;
    int ready = 0;
    stream.onReconnect = [&] { reconnectAt.append(streamClock.monotonicMs()); };
    stream.onReady = [&] { ++ready; };
    ASSERT_TRUE(service.setFaults(R"({"stream_fail_next":{"count":6,"status":503}})"));
    stream.start(SSEClient::agentStreamPath(backends[0].agentValue()->id));
    // After each refusal the only timer left is the back-off sleep.
    while (ready == 0 && reconnectAt.size() < 8) {
        ASSERT_TRUE(processUntil([&] {
            return ready > 0
                || (streamClock.pendingCount() == 1 && streamClock.nextDueIn() < EventStream::idleTimeoutMs);
        }));
        if (ready > 0)
            break;
        streamClock.advance(streamClock.nextDueIn());
    }
    ASSERT_TRUE(processUntil([&] { return ready == 1; }));
    EXPECT_EQ(reconnectAt, QList<qint64>({1'000, 3'000, 7'000, 15'000, 31'000, 61'000}));
}

TEST_F(ReliabilityEndToEndTest, ChatSwitchedMidLoadAndExpiredSession)
{
    const QList<ChatBackend> backends = pickChats();
    ASSERT_GE(backends.size(), 2);
    // Some history in both chats first, so there is something to confuse.
    for (int c = 0; c < 2; ++c) {
        open(backends[c]);
        for (int i = 0; i < 3; ++i) {
            const QString text = QStringLiteral("warm-up %1").arg(i);
            runTask(chats.back()->vm->send(text));
            ASSERT_TRUE(drive([&] { return turnFinished(*chats.back()->vm, text); }));
        }
    }
    QSet<qint64> firstChatIds;
    for (const ChatMessage& m : stored(backends[0], 1))
        firstChatIds.insert(m.id);
    chats.clear();

    // Slow answers: the first chat's load is still on the wire when the user switches.
    ASSERT_TRUE(service.setFaults(R"({"latency_ms":150})"));
    ChatHistoryCache emptyCache;
    auto leaving = std::make_unique<ChatViewModel>(backends[0], t->client, clock, std::nullopt, emptyCache);
    auto loading = leaving->start();
    processUntil([] { return false; }, 30);
    leaving->stop();
    ChatViewModel arriving(backends[1], t->client, clock, std::nullopt, emptyCache);
    bool leaked = false;
    QObject::connect(&arriving, &ChatViewModel::messagesChanged, [&] {
        for (const ChatMessage& m : arriving.messages())
            leaked = leaked || firstChatIds.contains(m.id);
    });
    runTask(arriving.start());
    processUntil([] { return false; }, 400); // the first chat's late answer arrives meanwhile
    EXPECT_FALSE(leaked);
    EXPECT_TRUE(leaving->messages().isEmpty());
    EXPECT_FALSE(arriving.messages().isEmpty());
    EXPECT_FALSE(emptyCache.touched(backends[0].id()).has_value());

    // The session expires: the next heal round meets a 401 and hands over to sign-in.
    ASSERT_TRUE(service.setFaults(R"({"latency_ms":0,"expire_sessions":true})"));
    int unauthorized = 0;
    QObject::connect(&arriving, &ChatViewModel::unauthorized, [&] { ++unauthorized; });
    ASSERT_TRUE(drive([&] { return unauthorized > 0; }));
}
