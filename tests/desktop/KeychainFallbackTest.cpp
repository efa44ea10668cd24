#include "core/net/KeychainSecretStore.h"

#include "PrivateBus.h"
#include "support/RunTask.h"

#include <gtest/gtest.h>

#include <optional>

using namespace halvex;
using namespace halvex::test;
using namespace Qt::StringLiterals;

// The jar's fallback rests on this: with no Secret Service on the bus, the store says so at once
// rather than hanging or pretending to have kept the secret.
TEST(KeychainSecretStore, WithoutASecretServiceOnTheBusItAnswersUnavailable)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isValid());
    const QByteArray saved = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toUtf8());
    KeychainSecretStore store(u"HalvexTest"_s, u"session-cookie"_s);

    std::optional<SecretStore::Outcome> outcome;
    store.read([&](SecretStore::Outcome answer, const QByteArray&) { outcome = answer; });
    ASSERT_TRUE(processUntil([&] { return outcome.has_value(); }));
    EXPECT_EQ(*outcome, SecretStore::Outcome::unavailable);

    std::optional<bool> stored;
    store.write("hx-v2-session=s", [&](bool ok) { stored = ok; });
    ASSERT_TRUE(processUntil([&] { return stored.has_value(); }));
    EXPECT_FALSE(*stored);
    qputenv("DBUS_SESSION_BUS_ADDRESS", saved);
}
