// The draft builder in process: what it reads out of a brief and what it never lets through.
#include "generation/Drafts.h"

#include <gtest/gtest.h>

using namespace service::generation;

TEST(DraftBuilder, ReadsNamesSizesCadencesAndDomainsFromTheBrief)
{
    EXPECT_EQ(readBrief("A writer named Mira Lane, for the blog").name, "Mira Lane");
    EXPECT_EQ(readBrief("An assistant called nova who books calls").name, "Nova");
    EXPECT_FALSE(readBrief("A plain helper").name);

    EXPECT_EQ(readBrief("Team of four people").teamSize, 4);
    EXPECT_EQ(readBrief("Team of 40 agents").teamSize, 5);
    EXPECT_EQ(readBrief("Team of 1 person").teamSize, 2);
    EXPECT_EQ(readBrief(std::string(7990, '7') + " people").teamSize, 5);
    EXPECT_FALSE(readBrief("A team for the blog").teamSize);
    EXPECT_EQ(readBrief("Check the inbox every hour").cadenceMinutes, 60);
    EXPECT_EQ(readBrief("Post a WEEKLY digest").cadenceMinutes, 10080);

    EXPECT_STREQ(readBrief("Landing page for the WEBSITE").domain->key, "web");
    EXPECT_STREQ(readBrief("Рассылка для клиентов").domain->key, "email");
    EXPECT_STREQ(readBrief("Something unusual entirely").domain->key, "general");
    EXPECT_TRUE(readBrief("Отдел продаж").cyrillic);
}

TEST(DraftBuilder, SameRequestSameDraftAndEveryMemberIsComplete)
{
    DraftRequest r;
    r.brief = readBrief("Customer support crew of three people for our shop");
    r.team = true;
    r.forceReady = true;
    const auto draft = buildDraft(r);
    EXPECT_EQ(draft, buildDraft(r));
    ASSERT_EQ(draft["members"].size(), 3u);
    EXPECT_EQ(draft["members"][2]["work_profile"]["hands_to"], "the user");
    EXPECT_EQ(draft["members"][0]["work_profile"]["hands_to"], draft["members"][1]["handle"]);

    // A first round without answers asks; a clarification alone makes the round ready.
    r.forceReady = false;
    EXPECT_EQ(buildDraft(r)["mode"], "clarify");
    r.clarifications = nlohmann::json::array({{{"key", "handoff"}, {"question", "How?"}, {"answer", "open"}}});
    EXPECT_EQ(buildDraft(r)["orchestration"],
              "Members claim the requests that match their output; the lead settles overlaps.");
}
