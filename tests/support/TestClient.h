#pragma once
// An API client for tests: the fake server's origin, a private in-memory cookie jar, an
// injected clock and a reachability the test switches by hand.
#include "core/async/Clock.h"
#include "core/net/APIClient.h"
#include "core/net/NetworkReachability.h"
#include "core/net/PersistentCookieJar.h"
#include "support/FakeServer.h"

#include <QUrl>

#include <memory>

namespace halvex::test {

struct TestClient {
    explicit TestClient(const QUrl& origin, Clock* clock = nullptr)
        : jar(QString()),
          client(origin, &jar, clock, &reachability)
    {}

    PersistentCookieJar jar;
    ManualReachability reachability;
    APIClient client;
};

inline std::unique_ptr<TestClient> makeTestClient(const QUrl& origin, Clock* clock = nullptr)
{
    return std::make_unique<TestClient>(origin, clock);
}

inline std::unique_ptr<TestClient> makeTestClient(FakeServer& server, Clock* clock = nullptr)
{
    return makeTestClient(server.origin(), clock);
}

} // namespace halvex::test
