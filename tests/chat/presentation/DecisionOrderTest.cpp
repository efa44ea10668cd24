// Messages that satisfy more than one card rule: the earlier rule must win, or the user sees
// a progress line where an image or a failure should be.
#include "support/MessageFixtures.h"

#include "chat/viewmodel/presentation/MessagePresentationResolver.h"

#include <gtest/gtest.h>

using namespace halvex;
using fixtures::message;
using fixtures::step;

namespace {
MessagePresentation present(const ChatMessage& m) { return MessagePresentationResolver::resolve(m, ChatSurface::solo); }
} // namespace

TEST(DecisionOrder, ArtifactsWinOverStepsAndNoticesButNotApprovals)
{
    const auto image
        = present(step(1, R"({"tool":"generate_image","status":"running","image":{"url":"https://c.example/i.png"}})"));
    EXPECT_EQ(image.variant, MessageVariant::media);
    EXPECT_EQ(image.destination, QUrl(QStringLiteral("https://c.example/i.png")));

    const auto lesson
        = present(message(2, "assistant", "", R"({"kind":"team_lesson","document":{"name":"Playbook"}})"));
    EXPECT_EQ(lesson.variant, MessageVariant::artifact);
    EXPECT_EQ(lesson.title, QStringLiteral("Playbook"));
    EXPECT_TRUE(lesson.actions.isEmpty()); // nothing to open

    EXPECT_EQ(
        present(message(3, "assistant", "",
                        R"({"kind":"approval_request","status":"pending","image":{"url":"https://c.example/i.png"}})"))
            .variant,
        MessageVariant::approval);
}

TEST(DecisionOrder, NoticesOnlyForNonStepsAndStepsBeforeUsageAndToolStatus)
{
    const auto interrupted = present(message(1, "assistant", "  Stopped by you \n", R"({"kind":"interrupted"})"));
    EXPECT_EQ(interrupted.variant, MessageVariant::service);
    EXPECT_EQ(interrupted.tone, MessageTone::neutral);
    EXPECT_EQ(interrupted.body, QStringLiteral("Stopped by you"));
    EXPECT_EQ(present(message(2, "system", "", R"({"kind":"team_lesson"})")).body, QStringLiteral("Team Lesson"));

    // A spend or tool status that arrives as a step is shown by the step rules.
    EXPECT_EQ(present(step(3, R"({"kind":"turn_spend","status":"done"})")).variant, MessageVariant::event);
    EXPECT_EQ(present(step(4, R"({"kind":"tool_status","status":"running","tool":"crm_lookup"})")).variant,
              MessageVariant::progress);

    const auto tokensOnly = present(message(5, "assistant", "", R"({"kind":"turn_spend","total_tokens":1})"));
    EXPECT_EQ(tokensOnly.body, QStringLiteral("1 token for this response"));
    EXPECT_EQ(tokensOnly.status, QStringLiteral("done"));
    EXPECT_EQ(present(message(6, "assistant", "", R"({"kind":"turn_spend","cost_usd":-3,"tokens":2500000})")).body,
              QStringLiteral("2,500,000 tokens for this response"));
}

TEST(DecisionOrder, FailureWinsOverFinishedAndOverGoalWording)
{
    // Failed and finished at once: the failure shows.
    const auto both = present(step(1, R"({"tool":"web_search","kind":"tool_done","status":"error"})"));
    EXPECT_EQ(both.variant, MessageVariant::alert);
    EXPECT_EQ(both.status, QStringLiteral("failed"));

    const auto goal
        = present(message(2, "assistant", "Browsing: acme.com", R"({"kind":"goal_step","status":"Failed"})"));
    EXPECT_EQ(goal.variant, MessageVariant::alert);
    EXPECT_EQ(goal.title, QStringLiteral("Could not complete this task"));
    EXPECT_EQ(goal.metadata.value(0).value, QStringLiteral("Browsing: acme.com"));

    for (const char* status : {"tool_error", "Unauthorized", "payment-failed", "CANCELLED", "blocked by policy"})
        EXPECT_EQ(present(step(3, QByteArray(R"({"tool":"x","status":")") + status + "\"}")).variant,
                  MessageVariant::alert)
            << status;
    // Not one of the words: these steps are still working.
    for (const char* status : {"errors", "unblocked", "timeout", "retrying"})
        EXPECT_EQ(present(step(4, QByteArray(R"({"tool":"x","status":")") + status + "\"}")).variant,
                  MessageVariant::progress)
            << status;
}

TEST(DecisionOrder, FinishedFormsFromStatusOrKind)
{
    for (const char* meta : {R"({"tool":"x","status":"Completed"})", R"({"tool":"x","status":"published"})",
                             R"({"tool":"x","kind":"tool_done"})", R"({"tool":"x","kind":"report_sent"})",
                             R"({"tool":"x","kind":"completed"})"}) {
        const auto p = present(step(1, meta));
        EXPECT_EQ(p.variant, MessageVariant::event) << meta;
        EXPECT_EQ(p.tone, MessageTone::success) << meta;
        EXPECT_EQ(p.status, QStringLiteral("done")) << meta;
    }
    // "done" inside a longer status or a kind that only starts so is not finished.
    EXPECT_EQ(present(step(2, R"({"tool":"x","status":"undone"})")).variant, MessageVariant::progress);
    EXPECT_EQ(present(step(3, R"({"tool":"x","kind":"sent_later"})")).variant, MessageVariant::progress);
    EXPECT_EQ(present(step(3, R"({"tool":"x","kind":"consent"})")).variant, MessageVariant::progress);

    // An outside action that finished is a success; one under way keeps the event card.
    EXPECT_EQ(present(step(4, R"({"tool":"send_email","status":"done"})")).tone, MessageTone::success);
    for (const char* tool : {"stripe_payment", "nango_proxy", "http_request", "phone_call", "background_job"})
        EXPECT_EQ(present(step(5, QByteArray(R"({"tool":")") + tool + R"(","status":"running"})")).variant,
                  MessageVariant::event)
            << tool;
}

TEST(DecisionOrder, ReportsNeedASourcesLineInAnAssistantAnswer)
{
    EXPECT_EQ(present(message(1, "assistant", "Итоги\n\nИсточники: [РБК](https://www.rbc.ru)")).variant,
              MessageVariant::report);
    EXPECT_EQ(present(message(2, "assistant", "Done.\n> - **Source**: internal notes")).variant,
              MessageVariant::report);
    EXPECT_EQ(present(message(3, "assistant", "Summary", R"({"msg_parts":["Part one","SOURCES: a.example"]})")).variant,
              MessageVariant::report);
    EXPECT_EQ(present(message(4, "assistant", "Resources: none needed")).variant, MessageVariant::plain);
    EXPECT_EQ(present(message(5, "system", "Sources: a")).variant, MessageVariant::plain);
}
