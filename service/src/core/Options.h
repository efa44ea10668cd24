#pragma once
// Start-up flags of the local service.
#include <string>

struct Options {
    int port = 8787;
    std::string dataDir;
    bool seedDemo = false;
    int paceMs = 300;
    int pingMs = 15000;
    bool testMode = false;
    bool fastHash = false;
    int advertiseBuild = 1;
    // How long each step of a worker's run takes on the service clock.
    int runStepSeconds = 3;
    // Benchmarks: a file that gets a line per stream event written (chat/StreamTimes).
    std::string streamTimesPath;

    // Exits with a usage line on a bad flag.
    static Options parse(int argc, char** argv);
};
