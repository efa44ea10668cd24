// Loopback latency from a write on the local service to the open chat's view model: a second
// client posts a turn, and the clock stops when the stream's copy of that turn is in the list.
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

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

using namespace halvex;

namespace {

template <typename T>
T await(QCoro::Task<T> task)
{
    std::optional<T> result;
    bool failed = false;
    auto drive = [](QCoro::Task<T> inner, std::optional<T>& result, bool& failed) -> QCoro::Task<void> {
        try {
            result = co_await std::move(inner);
        } catch (...) {
            failed = true;
        }
    };
    auto driver = drive(std::move(task), result, failed);
    QElapsedTimer guard;
    guard.start();
    while (!result && !failed && guard.elapsed() < 10'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    if (!result)
        throw std::runtime_error("request failed");
    return std::move(*result);
}

// The local service, signed in, shared by the benchmarks of this file.
struct SignedInService {
    test::ServiceProcess service;
    PersistentCookieJar jar{QString()};
    std::unique_ptr<APIClient> api;
    QList<Agent> agents;
    QString error;

    SignedInService()
    {
        if (!service.start()) {
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

void reportSpread(benchmark::State& state, std::vector<double>& samples)
{
    if (samples.empty())
        return;
    std::sort(samples.begin(), samples.end());
    state.counters["median_us"] = samples[samples.size() / 2];
    state.counters["p99_us"] = samples[std::min(samples.size() - 1, size_t(double(samples.size()) * 0.99))];
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
    QElapsedTimer settle;
    settle.start();
    while (!vm.historyLoaded() && settle.elapsed() < 10'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    // Let the stream open before measuring.
    while (settle.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);

    ChatService writer(api);
    const QString agentId = agents.first().id;
    std::vector<double> samples;
    int n = 0;
    for (auto _ : state) {
        const QString text = QStringLiteral("latency probe %1").arg(n++);
        QElapsedTimer timer;
        bool seen = false;
        const auto connection = QObject::connect(&vm, &ChatViewModel::messagesChanged, [&] {
            if (!seen && !vm.messages().isEmpty())
                for (auto it = vm.messages().crbegin(); it != vm.messages().crend(); ++it)
                    if (it->id > 0 && it->content == text) {
                        seen = true;
                        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
                        samples.push_back(double(timer.nsecsElapsed()) / 1e3);
                        break;
                    }
        });
        timer.start();
        auto sending = writer.send(agentId, text, {}, QStringLiteral("bench-%1").arg(n));
        while (!seen && timer.elapsed() < 10'000)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 1);
        QObject::disconnect(connection);
        if (!seen) {
            state.SkipWithError("the turn never reached the view model");
            break;
        }
        // The rest of the turn streams in before the next probe.
        state.PauseTiming();
        QElapsedTimer rest;
        rest.start();
        while (vm.isThinking() && rest.elapsed() < 5'000)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 2);
        state.ResumeTiming();
    }
    vm.stop();
    reportSpread(state, samples);
}
BENCHMARK(BM_ServiceWriteToViewModel)->UseManualTime()->Iterations(300)->Unit(benchmark::kMicrosecond);

} // namespace
