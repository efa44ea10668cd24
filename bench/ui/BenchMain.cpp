// The start-up benchmarks drive child processes and the local service from an event loop.
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
