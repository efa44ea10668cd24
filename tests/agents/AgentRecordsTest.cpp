#include "agents/model/Agent.h"
#include "agents/model/AgentsListResponse.h"
#include "core/json/JsonReader.h"

#include <gtest/gtest.h>

using namespace halvex;

namespace {

QString decodingMessage(const QByteArray& json)
{
    try {
        decodeJSON<AgentsListResponse>(json);
    } catch (const APIError& e) {
        EXPECT_EQ(e.kind(), APIError::Kind::decoding);
        return e.message().value_or(QString());
    }
    ADD_FAILURE() << "decoded without error";
    return {};
}

} // namespace

TEST(AgentRecords, ListWithOneNamelessAgentFailsAsAWholeNamingIt)
{
    const QString message = decodingMessage(R"({"agents":[{"id":"a","name":"A"},{"id":"b"}]})");
    EXPECT_TRUE(message.contains(QStringLiteral("agents[1]"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("name"))) << message.toStdString();
    EXPECT_TRUE(decodingMessage(R"({"agents":[{"id":5,"name":"A"}]})").contains(QStringLiteral("agents[0].id")));
}

TEST(AgentRecords, ListMapsUseTheirOwnKeysAndStayAbsentWhenMissing)
{
    const auto bare = decodeJSON<AgentsListResponse>(R"({"agents":[]})");
    EXPECT_FALSE(bare.unread);
    EXPECT_FALSE(bare.orchestratorUnread);
    EXPECT_FALSE(bare.activity);

    const auto full = decodeJSON<AgentsListResponse>(R"({"agents":[{"id":"a","name":"A"}],
        "unread":{"a":3},"orchestratorUnread":{"growth":2},"orchestrator_unread":{"x":9},
        "activity":{"a":{"last_message_at":"2026-01-01T09:00:00Z","next_run_at":null}}})");
    EXPECT_EQ(full.unread->value(QStringLiteral("a")), 3);
    EXPECT_EQ(*full.orchestratorUnread, (QMap<QString, int>{{QStringLiteral("growth"), 2}}));
    const AgentActivity activity = full.activity->value(QStringLiteral("a"));
    EXPECT_EQ(activity.lastMessageAt, QStringLiteral("2026-01-01T09:00:00Z"));
    EXPECT_FALSE(activity.nextRunAt);
}

TEST(AgentRecords, PlaybookAcceptsBothShapesAndCutsLongPrompts)
{
    const QString prompt200(200, u'p');
    const QString prompt96(96, u'q');
    const QByteArray json = R"({"id":"a","name":"A","playbook":["Research", "", {"title":"Outline"},
        {"prompt":")"
        + prompt200.toUtf8() + R"("}, {"prompt":")" + prompt96.toUtf8()
        + R"("}, {"name":"", "type":"tool"}, {"name":7}]})";
    const Agent agent = decodeJSON<Agent>(json);
    ASSERT_TRUE(agent.playbook);
    const QList<PlaybookStep>& steps = *agent.playbook;
    ASSERT_EQ(steps.size(), 7);
    EXPECT_EQ(steps[0].name, QStringLiteral("Research"));
    EXPECT_FALSE(steps[1].name);
    EXPECT_EQ(steps[2].name, QStringLiteral("Outline"));
    EXPECT_EQ(steps[3].name->size(), 97);
    EXPECT_TRUE(steps[3].name->endsWith(QChar(0x2026)));
    EXPECT_EQ(steps[4].name, prompt96);
    EXPECT_EQ(steps[5].name, QStringLiteral("tool"));
    EXPECT_FALSE(steps[6].name);
}

TEST(AgentRecords, PromptCutNeverSplitsAnEmoji)
{
    QString prompt = QString(95, u'x');
    for (int i = 0; i < 5; ++i)
        prompt += QStringLiteral("😀");
    PlaybookStep step = PlaybookStep::fromJSON(QJsonValue(QJsonObject{{QStringLiteral("prompt"), prompt}}), {});
    EXPECT_EQ(*step.name, QString(95, u'x') + QStringLiteral("😀") + QChar(0x2026));
}

TEST(AgentRecords, EncodingWritesNamedKeysAndOmitsAbsentOptionals)
{
    Agent agent;
    agent.id = QStringLiteral("a1");
    agent.name = QStringLiteral("Ann");
    agent.isOrchestrator = false;
    agent.voiceId = QStringLiteral("v");
    agent.playbook = QList<PlaybookStep>{{QStringLiteral("Step")}};
    const JSONObject o = agent.encode();
    EXPECT_EQ(o.keys(),
              (QStringList{QStringLiteral("id"), QStringLiteral("is_orchestrator"), QStringLiteral("name"),
                           QStringLiteral("playbook"), QStringLiteral("voice_id")}));
    EXPECT_EQ(decodeJSON<Agent>(encodeJSONObject(o)), agent);
}
