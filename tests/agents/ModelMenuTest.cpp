// The model menus: the service's own models, then the providers the user connected a key for.
#include "agents/viewmodel/ModelMenuModel.h"
#include "core/async/ManualClock.h"
#include "support/FakeServer.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

TEST(ModelMenu, ConnectedProvidersFollowTheCatalogOrderAndABrokenKeyAddsNothing)
{
    FakeServer server;
    auto t = makeTestClient(server.origin());
    ModelMenuModel menu(t->client);
    EXPECT_EQ(menu.groups().size(), 1) << "before any key is known, the service's own models";
    EXPECT_EQ(menu.entries().first().toMap().value(QStringLiteral("label")), QStringLiteral("Account default"));

    server.on("GET", QStringLiteral("/api/v2/user/api-keys"), FakeResponse::json(R"({"api_keys":[
        {"id":"k1","providerSlug":"google","keyLabel":"mine","isValid":true,"createdAt":"2026-01-01"},
        {"id":"k2","providerSlug":"openai","isValid":true},
        {"id":"k3","providerSlug":"anthropic","isValid":false},
        {"id":"k4","providerSlug":"newcomer","isValid":true}]})"));
    runTask(menu.reload());
    QStringList ids;
    for (const LlmModelGroup& g : menu.groups())
        ids << g.id;
    EXPECT_EQ(ids, (QStringList{QStringLiteral("halvex"), QStringLiteral("openai"), QStringLiteral("google")}));

    // A failed reload keeps the menu it had.
    server.on("GET", QStringLiteral("/api/v2/user/api-keys"), FakeResponse::json(500, "{}"));
    runTask(menu.reload());
    EXPECT_EQ(menu.groups().size(), 3);
}
