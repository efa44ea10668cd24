// Tables and notes a turn produces, previewed as the owning agent's, in an employee chat and
// in a team chat where the teammate who did the work owns them.
#include "ChatTestSupport.h"

using namespace chattest;

namespace {

// The answer of the finished turn that carries an artifact under `key`.
json artifactAnswer(const LiveService& s, const std::string& historyPath, const char* key)
{
    const json history = s.get(historyPath + "?limit=50");
    for (const auto& m : history["messages"])
        if (m["metadata"].contains(key))
            return m;
    return {};
}

json runTurn(const LiveService& s, const std::string& streamPath, const std::string& chatPath, const std::string& text)
{
    StreamReader stream(s, streamPath);
    EXPECT_TRUE(stream.waitForReady());
    s.post(chatPath, {{"mode", "live"}, {"client_request_id", text}, {"text", text}});
    EXPECT_TRUE(stream.waitFor([](const auto& e) { return hasTurnSpend(e); })) << text;
    return artifactAnswer(s, chatPath, "artifact");
}

} // namespace

TEST(ArtifactPreview, TableDefinitionAndFirstRowsBelongToTheAgentThatMadeThem)
{
    LiveService s;
    const json answer
        = runTurn(s, "/api/v2/custom-agents/a-researcher/chat/stream", kResearcher, "make a table of leads");
    ASSERT_TRUE(answer.is_object());
    const json& artifact = answer["metadata"]["artifact"];
    EXPECT_EQ(artifact["artifact_type"], "table");
    const std::string table = "/api/v2/tables/" + artifact["id"].get<std::string>();

    const json definition = s.get(table + "?agent_id=a-researcher");
    EXPECT_EQ(definition["id"], artifact["id"]);
    EXPECT_EQ(definition["name"], "Leads");
    EXPECT_TRUE(definition["updated_at"].is_string());
    ASSERT_EQ(definition["columns"].size(), 3u);
    for (const auto& c : definition["columns"])
        for (const char* key : {"id", "name", "type"})
            EXPECT_TRUE(c.contains(key) && c.at(key).is_string()) << key;

    // The preview holds 50 rows, ascending, while "total" counts them all.
    const json rows = s.get(table + "/rows?agent_id=a-researcher&limit=50&order=asc");
    ASSERT_EQ(rows["rows"].size(), 50u);
    EXPECT_EQ(rows["total"], 60);
    EXPECT_EQ(rows["rows"][0]["data"]["company"], "Company 1");
    EXPECT_EQ(rows["rows"][49]["data"]["company"], "Company 50");
    EXPECT_TRUE(rows["rows"][0]["id"].is_string());
    EXPECT_EQ(s.get(table + "/rows?agent_id=a-researcher&limit=2&order=desc")["rows"][0]["data"]["company"],
              "Company 60");

    // Another agent, no agent, a bad page and an unknown table.
    EXPECT_EQ(s.get(table + "?agent_id=a-support", 404)["error"], "Table not found");
    EXPECT_TRUE(s.get(table + "/rows?agent_id=a-support", 404)["error"].is_string());
    EXPECT_EQ(s.get(table, 400)["error"], "agent_id is required");
    EXPECT_TRUE(s.get(table + "/rows?agent_id=a-researcher&limit=0", 400)["error"].is_string());
    EXPECT_TRUE(s.get(table + "/rows?agent_id=a-researcher&order=sideways", 400)["error"].is_string());
    EXPECT_TRUE(s.get("/api/v2/tables/tbl-nope?agent_id=a-researcher", 404)["error"].is_string());
    auto anonymous = s.client(false).Get(table + "?agent_id=a-researcher");
    ASSERT_TRUE(anonymous);
    EXPECT_EQ(anonymous->status, 401);
}

TEST(ArtifactPreview, NoteOpensAsTheAgentsAndAnotherAccountSeesNothing)
{
    LiveService s;
    const json answer
        = runTurn(s, "/api/v2/custom-agents/a-researcher/chat/stream", kResearcher, "write a note about pricing");
    ASSERT_TRUE(answer.is_object());
    const json& artifact = answer["metadata"]["artifact"];
    EXPECT_EQ(artifact["artifact_type"], "note");
    const std::string note = "/api/v2/notes/" + artifact["id"].get<std::string>() + "?agent_id=a-researcher";
    const json record = s.get(note);
    EXPECT_EQ(record["id"], artifact["id"]);
    EXPECT_EQ(record["title"], artifact["name"]);
    // The notes feature's record: its text is "body".
    EXPECT_NE(record["body"].get<std::string>().find("pricing"), std::string::npos);
    EXPECT_EQ(record["workspace_scope"], "agent");

    const std::string stranger = s.signUp("stranger@example.com");
    ASSERT_FALSE(stranger.empty());
    auto c = s.client(false);
    auto r = c.Get(note, {{"Cookie", stranger}});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 404);
    EXPECT_EQ(json::parse(r->body)["error"], "Note not found");
}

TEST(ArtifactPreview, TeamArtifactNamesTheTeammateWhoOwnsIt)
{
    LiveService s;
    const json answer = runTurn(s, "/api/v2/orchestrator-chat/growth/stream", "/api/v2/orchestrator-chat/growth",
                                "put the leads in a table");
    ASSERT_TRUE(answer.is_object());
    const json& meta = answer["metadata"];
    const std::string owner = meta.value("member_id", std::string());
    ASSERT_FALSE(owner.empty());
    EXPECT_EQ(meta["artifact"]["author_agent_id"], owner);
    // The owner is on the roster the client resolves artifacts with.
    bool onRoster = false;
    const json team = s.get("/api/v2/orchestrator-chat/growth?limit=1");
    for (const auto& m : team["agents"])
        onRoster |= m["id"] == owner;
    EXPECT_TRUE(onRoster);
    const std::string table = "/api/v2/tables/" + meta["artifact"]["id"].get<std::string>();
    EXPECT_EQ(s.get(table + "?agent_id=" + owner)["name"], "Leads");
    s.get(table + "?agent_id=a-orchestrator-growth", 404);
}
