#include "agents/viewmodel/IdentitySettingsModel.h"
#include "agents/model/VoiceChoice.h"
#include "core/async/ManualClock.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

TEST(VoiceChoice, StoredVoiceAndNameRules)
{
    EXPECT_EQ(voice::choiceFor(QStringLiteral("  EXAVITQu4vr4xnSDxMaL \n"), QStringLiteral("Bob")).choice,
              QStringLiteral("female"));
    EXPECT_EQ(voice::choiceFor(QStringLiteral("nPczCjzI2devNBz1zQrb"), QStringLiteral("Anna")).choice,
              QStringLiteral("male"));
    EXPECT_EQ(voice::choiceFor(QStringLiteral(" abc "), QStringLiteral("Anna")),
              (voice::Choice{QStringLiteral("custom"), QStringLiteral("abc")}));
    EXPECT_EQ(voice::choiceFor(QString(), QStringLiteral("Maria Lopez")).choice, QStringLiteral("female"));
    EXPECT_EQ(voice::choiceFor(QStringLiteral("  "), QStringLiteral("Bob")).choice, QStringLiteral("male"));

    EXPECT_TRUE(voice::looksFemale(QStringLiteral("Karine Dubois")));
    EXPECT_TRUE(voice::looksFemale(QStringLiteral("OLIVIA")));
    EXPECT_FALSE(voice::looksFemale(QStringLiteral("Sasha")));
    EXPECT_FALSE(voice::looksFemale(QStringLiteral("Luca Rossi")));
    EXPECT_FALSE(voice::looksFemale(QStringLiteral("   ")));
    EXPECT_FALSE(voice::looksFemale(QStringLiteral("Oleg Anna")));
}

namespace {

class IdentitySettingsModelTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server, &clock);
    IdentitySettingsModel model{t->client};
    Agent agent = [] {
        Agent a;
        a.id = QStringLiteral("ag1");
        a.name = QStringLiteral("stale name");
        return a;
    }();

    void SetUp() override
    {
        server.on("GET", QStringLiteral("/api/v2/custom-agents/ag1"),
                  FakeResponse::json(R"({"id":"ag1","name":"Nina","voice_id":"custom-v","response_language":"de"})"));
        server.on("GET", QStringLiteral("/api/v2/user/profile"),
                  FakeResponse::json(R"({"company_name":"Acme","website":"https://acme.test"})"));
        server.on("PATCH", QStringLiteral("/api/v2/custom-agents/ag1"), FakeResponse::json("{}"));
    }
};

} // namespace

TEST_F(IdentitySettingsModelTest, LoadFillsFieldsFromTheFreshDetailAndProfile)
{
    runTask(model.load(agent));
    EXPECT_EQ(model.name(), QStringLiteral("Nina"));
    EXPECT_EQ(model.responseLanguage(), QStringLiteral("de"));
    EXPECT_EQ(model.voiceChoice(), QStringLiteral("custom"));
    EXPECT_EQ(model.customVoiceId(), QStringLiteral("custom-v"));
    EXPECT_EQ(model.company(), QStringLiteral("Acme"));
    EXPECT_EQ(model.website(), QStringLiteral("https://acme.test"));
    EXPECT_EQ(model.loadedAgentId(), QStringLiteral("ag1"));
    EXPECT_FALSE(model.isLoading());
    EXPECT_FALSE(model.error());
}

TEST_F(IdentitySettingsModelTest, SaveAgentTrimsRefusesBlanksAndSendsNullLanguage)
{
    runTask(model.load(agent));
    server.clearRequests();
    model.setName(QStringLiteral("   "));
    runTask(model.saveAgent());
    EXPECT_EQ(model.error(), QStringLiteral("Name cannot be empty"));
    EXPECT_TRUE(server.requests().isEmpty());

    model.setName(QStringLiteral("  Nina K \n"));
    model.setResponseLanguage(QString());
    runTask(model.saveAgent());
    EXPECT_EQ(server.last().json(),
              JSONValue(JSONObject{{QStringLiteral("name"), QStringLiteral("Nina K")},
                                   {QStringLiteral("response_language"), JSONValue()}}));
    EXPECT_EQ(model.status(), QStringLiteral("Saved"));
    EXPECT_FALSE(model.error());
    EXPECT_FALSE(model.savingAgent());
}

TEST_F(IdentitySettingsModelTest, VoiceChangeSendsStockIdAndRestoresOnFailure)
{
    runTask(model.load(agent));
    runTask(model.selectVoice(QStringLiteral("female")));
    EXPECT_EQ(server.last().json(),
              JSONValue(JSONObject{{QStringLiteral("voice_id"), QStringLiteral("EXAVITQu4vr4xnSDxMaL")},
                                   {QStringLiteral("openai_voice"), JSONValue()}}));
    EXPECT_EQ(model.status(), QStringLiteral("Female voice will be used on every call."));

    const int before = int(server.requests().size());
    runTask(model.selectVoice(QStringLiteral("female")));
    EXPECT_EQ(server.requests().size(), before); // same choice: nothing sent

    server.on("PATCH", QStringLiteral("/api/v2/custom-agents/ag1"), FakeResponse::json(500, R"({"error":"nope"})"));
    runTask(model.selectVoice(QStringLiteral("male")));
    EXPECT_EQ(server.last().jsonObject()[QStringLiteral("voice_id")].toString(),
              QStringLiteral("nPczCjzI2devNBz1zQrb"));
    EXPECT_EQ(model.voiceChoice(), QStringLiteral("female"));
    ASSERT_TRUE(model.error());
    EXPECT_FALSE(model.error()->isEmpty());
}

TEST_F(IdentitySettingsModelTest, AFailedLoadOfAnotherEmployeeLeavesNothingToSaveOntoIt)
{
    server.on("GET", QStringLiteral("/api/v2/custom-agents/ag1"), FakeResponse::json(R"({"id":"ag1","name":"Ada"})"));
    server.on("GET", QStringLiteral("/api/v2/user/profile"), FakeResponse::json("{}"));
    runTask(model.load(agent));
    EXPECT_EQ(model.name(), QStringLiteral("Ada"));

    Agent other;
    other.id = QStringLiteral("ag2");
    other.name = QStringLiteral("Bo");
    server.on("GET", QStringLiteral("/api/v2/custom-agents/ag2"), FakeResponse::json(500, R"({"error":"down"})"));
    runTask(model.load(other));
    EXPECT_TRUE(model.name().isEmpty()) << "Ada's name must not stand for Bo's";
    EXPECT_TRUE(model.error());
    EXPECT_FALSE(model.isLoading());
    server.clearRequests();
    model.setName(QStringLiteral("typed"));
    runTask(model.saveAgent());
    runTask(model.selectVoice(QStringLiteral("male")));
    EXPECT_EQ(server.count("PATCH", QStringLiteral("/api/v2/custom-agents/ag2")), 0);

    int lost = 0;
    QObject::connect(&model, &IdentitySettingsModel::unauthorized, [&] { ++lost; });
    server.on("PATCH", QStringLiteral("/api/v2/user/profile"), FakeResponse::json(401, R"({"error":"expired"})"));
    runTask(model.saveProfile());
    EXPECT_EQ(lost, 1);
}

TEST_F(IdentitySettingsModelTest, ProfileSaveSendsCompanyAndWebsite)
{
    server.on("PATCH", QStringLiteral("/api/v2/user/profile"), FakeResponse::json("{}"));
    model.setCompany(QStringLiteral(" Acme "));
    model.setWebsite(QStringLiteral("acme.test"));
    runTask(model.saveProfile());
    EXPECT_EQ(server.last().json(),
              JSONValue(JSONObject{{QStringLiteral("company_name"), QStringLiteral("Acme")},
                                   {QStringLiteral("website"), QStringLiteral("acme.test")}}));
    EXPECT_EQ(model.status(), QStringLiteral("Saved"));
}

TEST_F(IdentitySettingsModelTest, StoppedLoadAppliesNothing)
{
    server.on("GET", QStringLiteral("/api/v2/custom-agents/ag1"),
              FakeResponse::held(FakeResponse::json(R"({"id":"ag1","name":"Late"})")));
    auto task = model.load(agent);
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    model.stop();
    runTask(std::move(task));
    server.releaseHeld();
    drainEvents();
    EXPECT_NE(model.name(), QStringLiteral("Late"));
    EXPECT_FALSE(model.error());
}
