// Entry of the local service: reads the flags, opens the store and serves on loopback.
#include "Server.h"
#include "demo/DemoSeed.h"

#include <sodium.h>

#include <cstdio>

using namespace service;

int main(int argc, char** argv)
{
    if (sodium_init() < 0)
        return 1;
    Service s;
    s.opt = Options::parse(argc, argv);
    openStore(s);

    httplib::Server svr;
    configureServer(svr, s);
    if (s.opt.port == 0)
        s.port = svr.bind_to_any_port("127.0.0.1");
    else
        s.port = svr.bind_to_port("127.0.0.1", s.opt.port) ? s.opt.port : -1;
    if (s.port <= 0) {
        std::fprintf(stderr, "cannot bind 127.0.0.1:%d\n", s.opt.port);
        return 1;
    }
    std::printf("listening on http://127.0.0.1:%d\n", s.port);
    std::fflush(stdout);
    if (s.opt.seedDemo) {
        seedDemo(s);
        std::printf("demo account: %s %s\n", kDemoEmail, kDemoPassword);
        std::fflush(stdout);
    }
    svr.listen_after_bind();
    return 0;
}
