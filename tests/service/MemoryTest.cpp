// An employee's memory: notes scoped to it, facts it learns from what the user says in a chat
// and forgets when asked, the workspace's shared facts, its files and skills.
#include "RunningService.h"
#include "memory/FactBlob.h"
#include "memory/FactLearning.h"

#include <gtest/gtest.h>

using namespace service_test;

namespace {

const char* kResearcher = "/api/v2/custom-agents/a-researcher";

httplib::Result postJson(httplib::Client& c, const std::string& path, const json& body)
{
    return c.Post(path.c_str(), body.dump(), "application/json");
}
httplib::Result patchJson(httplib::Client& c, const std::string& path, const json& body)
{
    return c.Patch(path.c_str(), body.dump(), "application/json");
}

std::string factsOf(httplib::Client& c, const std::string& agent)
{
    const json a = body(c.Get(agent.c_str()));
    return a.value("user_metadata_md", std::string());
}

json notesOf(httplib::Client& c, const std::string& agentId)
{
    return body(c.Get(("/api/v2/notes?agent_id=" + agentId + "&workspace_scope=agent").c_str()))["notes"];
}

} // namespace

TEST(Memory, NotesBelongToOneEmployee)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const size_t seeded = notesOf(c, "a-researcher").size();
    auto created = postJson(c, "/api/v2/notes",
                            {{"body", "  Invoices go out on the 1st.  "},
                             {"title", "Billing"},
                             {"agent_id", "a-researcher"},
                             {"workspace_scope", "agent"}});
    ASSERT_EQ(created->status, 201) << created->body;
    const json note = body(created)["note"];
    EXPECT_EQ(note["body"], "Invoices go out on the 1st.");
    EXPECT_EQ(note["content"], note["body"]);
    EXPECT_EQ(note["title"], "Billing");

    const json listed = notesOf(c, "a-researcher");
    ASSERT_EQ(listed.size(), seeded + 1);
    EXPECT_EQ(listed[0]["id"], note["id"]); // newest first
    EXPECT_EQ(notesOf(c, "a-support").size(), 0u);
    const std::string id = note["id"];
    // The note answers as an artifact preview of its own employee only.
    EXPECT_EQ(c.Get(("/api/v2/notes/" + id + "?agent_id=a-researcher").c_str())->status, 200);
    EXPECT_EQ(c.Get(("/api/v2/notes/" + id + "?agent_id=a-support").c_str())->status, 404);

    EXPECT_EQ(c.Delete(("/api/v2/notes/" + id + "?agent_id=a-support&workspace_scope=agent").c_str())->status, 404);
    EXPECT_EQ(c.Delete(("/api/v2/notes/" + id + "?agent_id=a-researcher&workspace_scope=agent").c_str())->status, 200);
    EXPECT_EQ(notesOf(c, "a-researcher").size(), seeded);
    EXPECT_EQ(c.Delete(("/api/v2/notes/" + id + "?agent_id=a-researcher").c_str())->status, 404);
}

TEST(Memory, NoteRequestsThatCannotBeStoredAreRefused)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const json good{{"body", "A fact"}, {"agent_id", "a-researcher"}, {"workspace_scope", "agent"}};
    const auto status = [&](json change) {
        json b = good;
        b.update(change);
        return postJson(c, "/api/v2/notes", b)->status;
    };
    EXPECT_EQ(status({{"body", "   "}}), 400);
    EXPECT_EQ(status({{"body", json::array()}}), 400);
    EXPECT_EQ(status({{"agent_id", nullptr}}), 400);
    EXPECT_EQ(status({{"agent_id", "a-nobody"}}), 404);
    EXPECT_EQ(status({{"workspace_scope", "team"}}), 400);
    EXPECT_EQ(status({{"title", std::string(201, 't')}}), 400);
    EXPECT_EQ(status({{"body", std::string(400001, 'x')}}), 400);
    EXPECT_EQ(
        c.Post("/api/v2/notes", "{\"body\":\"\xC3\x28\",\"agent_id\":\"a-researcher\"}", "application/json")->status,
        400);
    EXPECT_EQ(c.Get("/api/v2/notes")->status, 400);
    EXPECT_EQ(c.Get("/api/v2/notes?agent_id=a-researcher&workspace_scope=shared")->status, 400);
    EXPECT_EQ(svc.client().Get("/api/v2/notes?agent_id=a-researcher")->status, 401);
    // Another account's employee is not there for this one.
    EXPECT_EQ(c.Get("/api/v2/tables?agent_id=a-nobody")->status, 404);
    EXPECT_EQ(notesOf(c, "a-researcher").size(), 2u);
}

TEST(Memory, FactsStatedInAChatAreLearnedAndForgetting)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const std::string before = factsOf(c, kResearcher);
    ASSERT_FALSE(before.empty());
    auto sent = postJson(c, std::string(kResearcher) + "/chat",
                         {{"text",
                           "Hi! Call me Sam. I prefer bullet points over long paragraphs. Can you call me "
                           "later? Our budget is $800 a month."}});
    ASSERT_EQ(sent->status, 200) << sent->body;
    const std::string learned = factsOf(c, kResearcher);
    const std::string preference = "### Preference\nPrefers bullet points over long paragraphs.";
    EXPECT_NE(learned.find("\n\n---\n### Name\nWants to be called Sam."), std::string::npos) << learned;
    EXPECT_NE(learned.find("\n\n---\n" + preference), std::string::npos);
    // The budget stated now replaces the one learned before; the question taught nothing.
    EXPECT_NE(learned.find("Budget is $800 a month."), std::string::npos);
    EXPECT_EQ(learned.find("Budget is $400"), std::string::npos);
    EXPECT_EQ(learned.find("later"), std::string::npos);

    // Forgetting is writing back the facts without it; saying something else does not bring it back.
    std::vector<std::string> kept;
    for (const auto& entry : service::factEntries(learned))
        if (entry != preference)
            kept.push_back(entry);
    ASSERT_EQ(patchJson(c, kResearcher, {{"user_metadata_md", service::joinFacts(kept)}})->status, 200);
    postJson(c, std::string(kResearcher) + "/chat", {{"text", "Thanks, that helps."}});
    const std::string after = factsOf(c, kResearcher);
    EXPECT_EQ(after.find("bullet points"), std::string::npos);
    EXPECT_NE(after.find("Wants to be called Sam."), std::string::npos);

    // A team's conversation teaches the facts the whole team shares.
    postJson(c, "/api/v2/orchestrator-chat/growth", {{"text", "We’re based in Lisbon."}});
    const json profile = body(c.Get("/api/v2/custom-agents/a-writer-growth/memory-profile"));
    EXPECT_EQ(profile["workspace_kind"], "team");
    EXPECT_NE(profile["worker_user_facts"].get<std::string>().find("\n\n---\n### Location\nBased in Lisbon."),
              std::string::npos);
}

TEST(Memory, WhatASentenceTeaches)
{
    using service::factsStatedIn;
    EXPECT_TRUE(factsStatedIn("Could you call me tomorrow").empty());
    EXPECT_TRUE(factsStatedIn("Is our budget is $5 enough?").empty());
    EXPECT_TRUE(factsStatedIn("I prefer").empty());
    EXPECT_TRUE(factsStatedIn("Wii prefer cables. Recall me Bob.").empty());
    EXPECT_TRUE(factsStatedIn("I prefer " + std::string(300, 'x')).empty());
    const auto facts = factsStatedIn("hello, call me Ana María, please\nI’m based in Porto! my name is Ana");
    ASSERT_EQ(facts.size(), 3u);
    EXPECT_EQ(facts[0].entry, "### Name\nWants to be called Ana María.");
    EXPECT_EQ(facts[1].entry, "### Location\nBased in Porto.");
    EXPECT_TRUE(facts[2].replaces);

    std::string blob = "### Budget\nBudget is $1.\n\n---\n### Note\nKeep.";
    EXPECT_TRUE(service::rememberFact(blob, "### Budget\nBudget is $2.", "### Budget"));
    EXPECT_EQ(blob, "### Note\nKeep.\n\n---\n### Budget\nBudget is $2.");
    EXPECT_FALSE(service::rememberFact(blob, "### Note\nKeep."));
    // The oldest facts give way once the blob would outgrow an employee's record.
    for (int i = 0; i < 700; ++i)
        service::rememberFact(blob, "### Preference\nPrefers option " + std::to_string(i) + std::string(150, '.'));
    EXPECT_LE(blob.size(), service::kMaxFactBlobBytes);
    EXPECT_NE(blob.find("option 699"), std::string::npos);
    EXPECT_EQ(blob.find("Keep."), std::string::npos);
}

TEST(Memory, WorkspaceFactsFilesSkillsAndTables)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const std::string profile = std::string(kResearcher) + "/memory-profile";
    EXPECT_EQ(body(c.Get(profile.c_str()))["workspace_kind"], "agent");
    auto patched
        = patchJson(c, profile, {{"worker_user_facts", "### Team\nFive people."}, {"workspace_scope", "agent"}});
    ASSERT_EQ(patched->status, 200) << patched->body;
    EXPECT_EQ(body(c.Get(profile.c_str()))["worker_user_facts"], "### Team\nFive people.");
    EXPECT_EQ(patchJson(c, profile, {{"worker_user_facts", 5}})->status, 400);
    EXPECT_EQ(patchJson(c, profile, {{"worker_user_facts", std::string(100001, 'x')}})->status, 400);
    EXPECT_EQ(patchJson(c, profile, {{"worker_user_facts", "x"}, {"workspace_scope", "team"}})->status, 400);

    const std::string files = std::string(kResearcher) + "/files";
    const json listed = body(c.Get(files.c_str()))["files"];
    ASSERT_EQ(listed.size(), 2u);
    const json image = listed[1];
    EXPECT_EQ(image["name"], "moodboard.png");
    EXPECT_EQ(image["kind"], "image");
    const std::string url = image["url"];
    const std::string remove = files + "?url=" + httplib::detail::encode_query_param(url);
    EXPECT_EQ(c.Delete(remove.c_str())->status, 200);
    EXPECT_EQ(body(c.Get(files.c_str()))["files"].size(), 1u);
    EXPECT_EQ(c.Delete(remove.c_str())->status, 404);
    EXPECT_EQ(c.Delete(files.c_str())->status, 400);
    // Out of the employee's knowledge, still in its chat.
    EXPECT_EQ(c.Get(url.substr(svc.origin().size()).c_str())->status, 200);

    const json skills = body(c.Get((std::string(kResearcher) + "/skills").c_str()))["skills"];
    ASSERT_EQ(skills.size(), 2u);
    EXPECT_EQ(skills[0]["skill_id"], "sk-competitor-scan");
    EXPECT_EQ(skills[1]["source"], "generated");
    const json tables = body(c.Get("/api/v2/tables?agent_id=a-researcher&workspace_scope=agent"))["tables"];
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0]["columns"].size(), 3u);
    EXPECT_EQ(c.Get("/api/v2/custom-agents/a-nobody/skills")->status, 404);
}
