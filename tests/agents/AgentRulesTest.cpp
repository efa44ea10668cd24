#include "agents/model/AgentRules.h"
#include "agents/model/LlmModelCatalog.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::agent_rules;

namespace {
Agent agent(const char* id, const char* status = "active")
{
    Agent a;
    a.id = QString::fromUtf8(id);
    a.name = a.id;
    if (status)
        a.status = QString::fromUtf8(status);
    return a;
}
} // namespace

TEST(AgentRules, KindLabel)
{
    Agent worker = agent("w");
    worker.isEmployer = false;
    EXPECT_EQ(kindLabel(worker), QStringLiteral("Worker"));
    worker.agentType = QStringLiteral("employee");
    EXPECT_EQ(kindLabel(worker), QStringLiteral("Employee"));
    worker.isOrchestrator = true;
    EXPECT_EQ(kindLabel(worker), QStringLiteral("Orchestrator"));
}

TEST(AgentRules, VisibilityOrchestratorAndModelChatsKeepListOrder)
{
    Agent archivedLead = agent("lead", "archived");
    archivedLead.isOrchestrator = true;
    Agent chat = agent("chat");
    chat.presetKind = QStringLiteral("model_chat");
    Agent archivedChat = agent("old", "archived");
    archivedChat.presetKind = QStringLiteral("model_chat");
    const QList<Agent> all{agent("a"), archivedLead, agent("gone", "archived"), agent("nostatus", nullptr),
                           chat,       archivedChat, agent("remembered")};

    QStringList visible;
    for (const Agent& a : visibleAgents(all))
        visible.append(a.id);
    EXPECT_EQ(visible,
              (QStringList{QStringLiteral("a"), QStringLiteral("lead"), QStringLiteral("chat"),
                           QStringLiteral("remembered")}));
    EXPECT_EQ(orchestrator(all)->id, QStringLiteral("lead"));
    EXPECT_FALSE(orchestrator({agent("a")}));

    QStringList chats;
    for (const Agent& a : modelChats(all, {QStringLiteral("remembered"), QStringLiteral("gone")}))
        chats.append(a.id);
    EXPECT_EQ(chats, (QStringList{QStringLiteral("chat"), QStringLiteral("remembered")}));
}

TEST(AgentRules, TeamMemberDisplayName)
{
    EXPECT_EQ(teamMemberDisplayName(QStringLiteral("research-lead-growth"), QStringLiteral("growth")),
              QStringLiteral("Research Lead"));
    EXPECT_EQ(teamMemberDisplayName(QStringLiteral("writer"), QStringLiteral("growth")), QStringLiteral("Writer"));
    EXPECT_EQ(teamMemberDisplayName(QStringLiteral("Writer-GROWTH"), QStringLiteral("Growth")),
              QStringLiteral("Writer"));
    EXPECT_EQ(teamMemberDisplayName(QStringLiteral("---"), QStringLiteral("growth")), QStringLiteral("---"));
    EXPECT_EQ(teamMemberDisplayName(QStringLiteral("-growth"), QStringLiteral("growth")), QStringLiteral("-growth"));
    EXPECT_EQ(teamMemberDisplayName(QStringLiteral("data--eNgineer"), QStringLiteral("ops")),
              QStringLiteral("Data ENgineer"));
}

TEST(ModelCatalog, MenuFollowsCatalogOrderNotTheSet)
{
    const auto none = LlmModelCatalog::groups({});
    ASSERT_EQ(none.size(), 1);
    EXPECT_EQ(none[0].label, QStringLiteral("Tessal (pay-per-use)"));

    const auto two
        = LlmModelCatalog::groups({QStringLiteral("google"), QStringLiteral("openai"), QStringLiteral("later")});
    ASSERT_EQ(two.size(), 3);
    EXPECT_EQ(two[1].id, QStringLiteral("openai"));
    EXPECT_EQ(two[2].id, QStringLiteral("google"));
    EXPECT_EQ(two[1].models[2],
              (BrainModel{QStringLiteral("openai:gpt-5.4"), QStringLiteral("openai"), QStringLiteral("gpt-5.4"),
                          QStringLiteral("GPT-5.4")}));
    EXPECT_EQ(LlmModelCatalog::allModels().size(), 8 + 9 + 3 + 3 + 6 + 4);
}

TEST(ModelCatalog, LookupPrefersPayPerUseAndKnowsNothingElse)
{
    const auto gemini = BrainCatalog::model(QStringLiteral("gemini-2.5-pro"));
    ASSERT_TRUE(gemini);
    EXPECT_EQ(gemini->provider, QStringLiteral("halvex"));
    EXPECT_EQ(BrainCatalog::model(QStringLiteral("google:gemini-2.5-pro"))->provider, QStringLiteral("google"));
    EXPECT_EQ(BrainCatalog::model(QStringLiteral("anthropic:claude-opus-4-7"))->label,
              QStringLiteral("Claude Opus 4.7"));
    EXPECT_FALSE(BrainCatalog::model(QString()));
    EXPECT_FALSE(BrainCatalog::model(std::nullopt));
    EXPECT_FALSE(BrainCatalog::model(QStringLiteral("GEMINI-2.5-PRO")));
}
