#include "core/Options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
[[noreturn]] void usage()
{
    std::fprintf(
        stderr,
        "usage: halvex-service [--port N] [--data DIR] [--seed-demo] [--pace-ms N] [--ping-ms N] [--test-mode] "
        "[--fast-hash] [--advertise-build N] [--run-step-seconds N] [--stream-times FILE]\n");
    std::exit(2);
}
int number(const char* text)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (!end || *end || value < 0 || value > 1'000'000'000)
        usage();
    return int(value);
}
} // namespace

Options Options::parse(int argc, char** argv)
{
    Options o;
    if (const char* home = std::getenv("HOME"))
        o.dataDir = std::string(home) + "/.local/share/halvex-service";
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : (usage(), nullptr); };
        if (!std::strcmp(a, "--port"))
            o.port = number(next());
        else if (!std::strcmp(a, "--data"))
            o.dataDir = next();
        else if (!std::strcmp(a, "--seed-demo"))
            o.seedDemo = true;
        else if (!std::strcmp(a, "--pace-ms"))
            o.paceMs = number(next());
        else if (!std::strcmp(a, "--ping-ms")) {
            o.pingMs = number(next());
            if (o.pingMs == 0)
                usage(); // a zero keep-alive would spin
        } else if (!std::strcmp(a, "--test-mode"))
            o.testMode = true;
        else if (!std::strcmp(a, "--fast-hash"))
            o.fastHash = true;
        else if (!std::strcmp(a, "--advertise-build"))
            o.advertiseBuild = number(next());
        else if (!std::strcmp(a, "--run-step-seconds"))
            o.runStepSeconds = number(next());
        else if (!std::strcmp(a, "--stream-times"))
            o.streamTimesPath = next();
        else
            usage();
    }
    return o;
}
