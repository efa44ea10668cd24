// A benchmark main with an event loop on the main thread: sockets, coroutines, child processes
// and the local service all need one.
#include <QCoreApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
#ifdef HALVEX_SERVICE_BIN_PATH
    if (qEnvironmentVariableIsEmpty("HALVEX_SERVICE_BIN"))
        qputenv("HALVEX_SERVICE_BIN", HALVEX_SERVICE_BIN_PATH);
#endif
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
