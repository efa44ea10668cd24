// Loopback latency from a write on the local service to the open chat's view model: a second
// client posts a turn, and the clock stops when the stream's copy of that turn is in the list.
// It starts when the service publishes that event to the chat's streams: the service, started
// with --stream-times, notes that monotonic time for every frame it sends (the same clock as this
// process's steady clock). The time from the post itself is reported beside it.
#include "agents/service/AgentService.h"
#include "chat/service/ChatService.h"
#include "chat/viewmodel/ChatViewModel.h"
#include "core/net/APIClient.h"
#include "core/net/PersistentCookieJar.h"
#include "session/service/AuthService.h"
#include "support/ServiceProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <optional>

using namespace halvex;

namespace {

// Waits in the event loop, as the app does, never polling it: a polling loop would take a core
// from the service and Qt's network thread on a small machine, and time that, too.
void waitInEventLoop(QEventLoop& loop, int guardMs = 10'000)
{
    QTimer::singleShot(guardMs, &loop, &QEventLoop::quit);
    loop.exec();
}

// Until `done` holds, checked whenever the chat changes.
template <typename Done>
void waitUntil(ChatViewModel& vm, Done done, int guardMs = 10'000)
{
    if (done())
        return;
    QEventLoop loop;
    const auto check = QObject::connect(&vm, &ChatViewModel::changed, &loop, [&] {
        if (done())
            loop.quit();
    });
    waitInEventLoop(loop, guardMs);
    QObject::disconnect(check);
}

template <typename T>
T await(QCoro::Task<T> task)
{
    std::optional<T> result;
    bool failed = false;
    QEventLoop loop;
    auto drive
        = [](QCoro::Task<T> inner, std::optional<T>& result, bool& failed, QEventLoop& loop) -> QCoro::Task<void> {
        try {
            result = co_await std::move(inner);
        } catch (...) {
            failed = true;
        }
        loop.quit();
    };
    auto driver = drive(std::move(task), result, failed, loop);
    if (!result && !failed)
        waitInEventLoop(loop);
    if (!result)
        throw std::runtime_error("request failed");
    return std::move(*result);
}

// The local service, signed in, shared by the benchmarks of this file.
struct SignedInService {
    QTemporaryDir scratch;
    const QString streamTimes = scratch.filePath(QStringLiteral("stream-times"));
    test::ServiceProcess service;
    PersistentCookieJar jar{QString()};
    std::unique_ptr<APIClient> api;
    QList<Agent> agents;
    QString error;

    SignedInService()
    {
        if (!service.start({QStringLiteral("--stream-times"), streamTimes})) {
            error = QStringLiteral("the local service did not start (HALVEX_SERVICE_BIN)");
            return;
        }
        api = std::make_unique<APIClient>(service.origin(), &jar, &Clock::system());
        AuthService auth(*api);
        await(auth.login(service.demoEmail(), service.demoPassword()));
        AgentService list(*api);
        agents = await(list.list()).agents;
        if (agents.isEmpty())
            error = QStringLiteral("no employee to chat with");
    }

    static SignedInService& instance()
    {
        static SignedInService s;
        return s;
    }
};

void reportSpread(benchmark::State& state, std::vector<double>& samples, const std::string& prefix = {})
{
    if (samples.empty())
        return;
    std::sort(samples.begin(), samples.end());
    state.counters[prefix + "median_us"] = samples[samples.size() / 2];
    state.counters[prefix + "p99_us"] = samples[std::min(samples.size() - 1, size_t(double(samples.size()) * 0.99))];
}

// The service's note of when it published each event it streamed, read as the file grows.
class StreamTimesFile {
public:
    explicit StreamTimesFile(const QString& path) : m_file(path) {}

    // When the event `id` was published; waits for its line, which the service writes just after
    // the frame (so it may come after the view model has the event).
    std::optional<std::chrono::steady_clock::time_point> writtenAt(qint64 id)
    {
        QElapsedTimer guard;
        guard.start();
        while (guard.elapsed() < 2'000) {
            readNewLines();
            if (const auto it = m_written.find(id); it != m_written.end())
                return it->second;
            QThread::usleep(200);
        }
        return std::nullopt;
    }

private:
    void readNewLines()
    {
        if (!m_file.isOpen() && !m_file.open(QIODevice::ReadOnly))
            return;
        m_pending += m_file.readAll();
        qsizetype end;
        while ((end = m_pending.indexOf('\n')) >= 0) {
            const QList<QByteArray> fields = m_pending.left(end).split(' ');
            m_pending.remove(0, end + 1);
            if (fields.size() != 2)
                continue;
            // The first write of an event wins: a reconnect may write it again.
            m_written.try_emplace(
                fields[0].toLongLong(),
                std::chrono::steady_clock::time_point(std::chrono::nanoseconds(fields[1].toLongLong())));
        }
    }

    QFile m_file;
    QByteArray m_pending;
    std::map<qint64, std::chrono::steady_clock::time_point> m_written;
};

double microseconds(std::chrono::steady_clock::duration d)
{
    return double(std::chrono::duration_cast<std::chrono::nanoseconds>(d).count()) / 1e3;
}

// The yardstick: one request and its answer over the same connection, the cheapest there is.
void BM_LoopbackRoundTrip(benchmark::State& state)
{
    SignedInService& s = SignedInService::instance();
    if (!s.error.isEmpty()) {
        state.SkipWithError(qPrintable(s.error));
        return;
    }
    const APIClient::Request me = s.api->makeRequest("GET", QStringLiteral("/api/v2/auth/me"));
    std::vector<double> samples;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        benchmark::DoNotOptimize(await(s.api->send(me)));
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        samples.push_back(double(timer.nsecsElapsed()) / 1e3);
    }
    reportSpread(state, samples);
}
BENCHMARK(BM_LoopbackRoundTrip)->UseManualTime()->Iterations(300)->Unit(benchmark::kMicrosecond);

void BM_ServiceWriteToViewModel(benchmark::State& state)
{
    SignedInService& s = SignedInService::instance();
    if (!s.error.isEmpty()) {
        state.SkipWithError(qPrintable(s.error));
        return;
    }
    APIClient& api = *s.api;
    const QList<Agent>& agents = s.agents;
    ChatHistoryCache cache;
    ChatViewModel vm(ChatBackend::agent(agents.first()), api, Clock::system(), std::nullopt, cache);
    auto started = vm.start();
    waitUntil(vm, [&] { return vm.historyLoaded(); });
    // Let the stream open before measuring.
    QEventLoop settle;
    waitInEventLoop(settle, 300);

    ChatService writer(api);
    StreamTimesFile times(s.streamTimes);
    const QString agentId = agents.first().id;
    std::vector<double> samples;
    std::vector<double> fromPost;
    int n = 0;
    for (auto _ : state) {
        const QString text = QStringLiteral("latency probe %1").arg(n++);
        std::optional<qint64> seenId;
        std::chrono::steady_clock::time_point applied;
        QEventLoop probe;
        const auto connection = QObject::connect(&vm, &ChatViewModel::messagesChanged, [&] {
            if (!seenId && !vm.messages().isEmpty())
                for (auto it = vm.messages().crbegin(); it != vm.messages().crend(); ++it)
                    if (it->id > 0 && it->content == text) {
                        applied = std::chrono::steady_clock::now();
                        seenId = it->id;
                        probe.quit();
                        break;
                    }
        });
        const auto posted = std::chrono::steady_clock::now();
        auto sending = writer.send(agentId, text, {}, QStringLiteral("bench-%1").arg(n));
        if (!seenId)
            waitInEventLoop(probe);
        QObject::disconnect(connection);
        const auto written = seenId ? times.writtenAt(*seenId) : std::nullopt;
        if (!written) {
            state.SkipWithError(seenId ? "the service noted no write of the turn"
                                       : "the turn never reached the view model");
            break;
        }
        state.SetIterationTime(double(std::chrono::duration_cast<std::chrono::nanoseconds>(applied - *written).count())
                               / 1e9);
        samples.push_back(microseconds(applied - *written));
        fromPost.push_back(microseconds(applied - posted));
        // The rest of the turn streams in before the next probe.
        state.PauseTiming();
        waitUntil(
            vm, [&] { return !vm.isThinking(); }, 5'000);
        state.ResumeTiming();
    }
    vm.stop();
    reportSpread(state, samples);
    reportSpread(state, fromPost, "post_");
}
BENCHMARK(BM_ServiceWriteToViewModel)->UseManualTime()->Iterations(300)->Unit(benchmark::kMicrosecond);

} // namespace
