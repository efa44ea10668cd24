#include "support/MessageFixtures.h"

#include "chat/viewmodel/presentation/MessagePresentationResolver.h"
#include "chat/viewmodel/presentation/PresentationText.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace Qt::StringLiterals;
using fixtures::message;
using fixtures::step;

namespace {
MessagePresentation present(const ChatMessage& m, ChatSurface surface = ChatSurface::solo)
{
    return MessagePresentationResolver::resolve(m, surface);
}
} // namespace

TEST(ApprovalCards, PendingAsksAndResolvedShowsTheOutcome)
{
    const auto pending
        = present(message(1, "assistant", "Create the worker?", R"({"kind":"orchestrator_propose_worker"})"));
    EXPECT_EQ(pending.variant, MessageVariant::approval);
    EXPECT_EQ(pending.title, QStringLiteral("Approval required"));
    EXPECT_EQ(pending.icon, QStringLiteral("checkmark.shield"));
    EXPECT_EQ(pending.tone, MessageTone::action);
    EXPECT_EQ(pending.actions, (QList<PresentationAction>{PresentationAction::approve, PresentationAction::reject}));

    const auto rejected = present(message(2, "assistant", "", R"({"kind":"approval_request","status":"rejected"})"));
    EXPECT_EQ(rejected.title, QStringLiteral("Approval resolved"));
    EXPECT_EQ(rejected.tone, MessageTone::neutral);
    EXPECT_TRUE(rejected.actions.isEmpty());

    const auto approved = present(message(3, "assistant", "", R"({"kind":"self_edit_proposal","status":"approved"})"));
    EXPECT_EQ(approved.tone, MessageTone::success);
    EXPECT_EQ(approved.icon, QStringLiteral("checkmark.circle"));
    EXPECT_EQ(approved.status, QStringLiteral("approved for this response"));
}

TEST(ArtifactCards, MediaAndDocumentsOpenOnlySafeAddresses)
{
    const auto image = present(message(1, "assistant", "Here it is",
                                       R"({"image":{"url":"https://cdn.example.com/a.png","author_agent_id":"ag7"}})"));
    EXPECT_EQ(image.variant, MessageVariant::media);
    EXPECT_EQ(image.title, QStringLiteral("Image"));
    EXPECT_EQ(image.destination, QUrl(QStringLiteral("https://cdn.example.com/a.png")));
    EXPECT_EQ(image.actions, QList<PresentationAction>{PresentationAction::open});
    ASSERT_TRUE(image.artifact);
    EXPECT_EQ(image.artifact->ownerAgentID, QStringLiteral("ag7"));

    const auto table
        = present(message(2, "assistant", "", R"({"artifact":{"artifact_type":"table","label":"Leads","id":"t1"}})"));
    EXPECT_EQ(table.variant, MessageVariant::artifact);
    EXPECT_EQ(table.title, QStringLiteral("Leads"));
    EXPECT_EQ(table.icon, QStringLiteral("tablecells"));
    EXPECT_EQ(table.artifact->payload.value(QStringLiteral("id")), JSONValue("t1"));

    // A hostile address never becomes a destination, and no "open" is offered for it.
    const auto hostile
        = present(message(3, "assistant", "", R"j({"document":{"name":"Plan","url":"javascript:alert(1)"}})j"));
    EXPECT_EQ(hostile.variant, MessageVariant::artifact);
    EXPECT_FALSE(hostile.destination);
    EXPECT_TRUE(hostile.actions.isEmpty());

    // An approval that also carries an artifact stays an approval.
    EXPECT_EQ(
        present(message(4, "assistant", "", R"({"kind":"approval_request","site":{"url":"https://x.io"}})")).variant,
        MessageVariant::approval);
}

TEST(StepCards, FailuresBecomeAlertsWithTheirReason)
{
    const auto blocked = present(step(1, R"({"tool":"web_search","status":"blocked","error":"Rate limited"})"));
    EXPECT_EQ(blocked.variant, MessageVariant::alert);
    EXPECT_EQ(blocked.tone, MessageTone::error);
    EXPECT_EQ(blocked.status, QStringLiteral("failed"));
    EXPECT_EQ(blocked.title, QStringLiteral("Could not complete this task"));
    EXPECT_EQ(blocked.metadata,
              (QList<PresentationMetadata>{{QStringLiteral("Reason"), QStringLiteral("Rate limited")}}));
    EXPECT_TRUE(blocked.nextAction.isEmpty());

    const auto denied = present(step(2, R"({"tool":"gmail","kind":"tool_error","status":"forbidden"})"));
    EXPECT_EQ(denied.icon, QStringLiteral("lock.fill"));
    EXPECT_EQ(denied.title, QStringLiteral("Needs permission to continue"));

    const auto budget = present(step(3, R"({"status":"failed","error":{"message":"Token budget exceeded"}})"));
    EXPECT_EQ(budget.nextAction, QStringLiteral("Review the token budget and try again"));

    // "error" must be a word of the status, not a part of one.
    EXPECT_NE(present(step(4, R"({"tool":"x","status":"errorless"})")).variant, MessageVariant::alert);
}

TEST(StepCards, FinishedActionAndRunningForms)
{
    const auto done = present(step(1, R"({"tool":"web_search","status":"done","args":{"query":"best CRM"}})"));
    EXPECT_EQ(done.variant, MessageVariant::event);
    EXPECT_EQ(done.tone, MessageTone::success);
    EXPECT_EQ(done.status, QStringLiteral("done"));
    EXPECT_EQ(done.title, QStringLiteral("Searched best CRM"));
    EXPECT_EQ(done.icon, QStringLiteral("magnifyingglass"));

    const auto running = present(step(2, R"({"tool":"web_search","status":"running"})"));
    EXPECT_EQ(running.variant, MessageVariant::progress);
    EXPECT_EQ(running.tone, MessageTone::info);
    EXPECT_EQ(running.title, QStringLiteral("Searching the web"));

    const auto page = present(step(3, R"({"tool":"browser_navigate","result":{"url":"https://www.example.com/x"}})"));
    EXPECT_EQ(page.title, QStringLiteral("Opening example.com"));

    // An email goes out whether or not the step reports back: it is never folded as progress.
    const auto email = present(step(4, R"({"tool":"send_email","status":"running"})"));
    EXPECT_EQ(email.variant, MessageVariant::event);
    EXPECT_EQ(email.title, QStringLiteral("Sent an email"));

    const auto goal = present(message(5, "assistant", "Searching the web: lead lists", R"({"kind":"goal_step"})"));
    EXPECT_EQ(goal.variant, MessageVariant::progress);
    EXPECT_EQ(goal.title, QStringLiteral("Searched the web: lead lists"));
}

TEST(StepCards, TitlesForKnownAndUnknownTools)
{
    EXPECT_EQ(present(step(1, R"({"tool":"history_compact"})")).title, QStringLiteral("Compacted earlier context"));
    EXPECT_EQ(present(step(2, R"({"tool":"silent_no_action"})")).title, QStringLiteral("No action needed"));
    const auto unknown = present(step(3, R"({"tool":"crm_lookup"})"));
    EXPECT_EQ(unknown.title, QStringLiteral("Crm Lookup"));
    EXPECT_EQ(unknown.icon, QStringLiteral("gearshape.fill"));
    // A generic lifecycle kind is no topic: "tool_call" is not a phone call, nor a title.
    const auto generic = present(step(4, R"({"kind":"tool_call"})", "\n\n  Reading the quarterly figures\nmore"));
    EXPECT_EQ(generic.title, QStringLiteral("Reading the quarterly figures"));
    EXPECT_EQ(present(step(5, R"({})")).title, QStringLiteral("Working"));
    EXPECT_EQ(present(step(6, R"({"tool":"generate_image"})")).title, QStringLiteral("Created an image"));
    EXPECT_EQ(present(step(7, R"({"tool":"memory_write"})")).title, QStringLiteral("Updated saved notes"));
}

TEST(OtherCards, NoticesUsageToolStatusReportsAndPlain)
{
    const auto notice = present(message(1, "system", "", R"({"kind":"turn_cancelled"})"));
    EXPECT_EQ(notice.variant, MessageVariant::service);
    EXPECT_EQ(notice.icon, QStringLiteral("info.circle"));
    EXPECT_EQ(notice.body, QStringLiteral("Turn Cancelled"));
    // A step that says it was interrupted is a failed step, not a notice.
    EXPECT_EQ(present(step(2, R"({"kind":"interrupted"})")).variant, MessageVariant::alert);

    const auto spend = present(
        message(3, "assistant", "",
                R"({"kind":"turn_spend","cost_usd":0.012,"usage":{"input_tokens":12000,"output_tokens":500}})"));
    EXPECT_EQ(spend.variant, MessageVariant::usage);
    EXPECT_EQ(spend.icon, QStringLiteral("diamond.fill"));
    EXPECT_EQ(spend.body, QStringLiteral("\u25C6 24 \u00B7 12,500 tokens for this response"));
    EXPECT_EQ(present(message(4, "assistant", "", R"({"kind":"turn_spend","cost_usd":"NaN"})")).body,
              QStringLiteral("No spend recorded for this response"));

    EXPECT_EQ(present(message(5, "assistant", "", R"({"kind":"tool_status","status":"queued"})")).variant,
              MessageVariant::progress);
    EXPECT_EQ(present(message(6, "assistant", "", R"({"kind":"tool_status","status":"ok"})")).status,
              QStringLiteral("done"));

    const auto report = present(message(7, "assistant", "Findings\n\n**Sources:** https://a.example"));
    EXPECT_EQ(report.variant, MessageVariant::report);
    EXPECT_EQ(report.title, QStringLiteral("Report"));
    EXPECT_EQ(present(message(8, "assistant", "Итог\nИсточник: rbc.ru")).variant, MessageVariant::report);
    EXPECT_EQ(present(message(9, "assistant", "Open source: is it worth it?")).variant, MessageVariant::plain);
    EXPECT_EQ(present(message(10, "user", "Sources: mine")).variant, MessageVariant::plain);
    EXPECT_EQ(present(message(11, "assistant", "x"), ChatSurface::team).surface, ChatSurface::team);
}

TEST(MessageBody, PartsWinOverContentAndTextIsCleaned)
{
    const auto p = present(
        message(1, "assistant", "ignored", R"({"msg_parts":["First  ","","Second\r\n\r\n\r\n\u200bThird"]})"));
    EXPECT_EQ(p.body, QStringLiteral("First\n\nSecond\n\nThird"));
}

// Lines are copied in runs between invisible characters: runs at either end of a line, one
// after another, lines of nothing else, lone carriage returns and blank-led first lines.
TEST(MessageBody, CleaningDropsInvisiblesBlankLinesAndTrailingBlanks)
{
    const auto clean = [](const char16_t* text) { return PresentationText::cleanText(QString::fromUtf16(text)); };
    EXPECT_EQ(clean(u"\u200bab\u200c\u200dc\u2060\ufeff"), u"abc"_s);
    EXPECT_EQ(clean(u"one\r\u200b\r\n\u00a0\t\rtwo \t"), u"one\n\ntwo"_s);
    EXPECT_EQ(clean(u"  \u00a0lead\n  kept indent"), u"lead\n  kept indent"_s);
    EXPECT_EQ(clean(u"\n\n\u200b\n"), QString());
    EXPECT_EQ(clean(u"emoji \U0001F600 and ä\r\n"), u"emoji \U0001F600 and ä"_s);
    EXPECT_EQ(clean(u""), QString());
}

// Texts with nothing to clean come back as they are, without the line-by-line pass; random
// texts of the characters that matter read the same as a plain line-by-line cleaning.
TEST(MessageBody, CleaningMatchesALineByLineReadingOfRandomTexts)
{
    const auto reference = [](const QString& text) {
        QString joined = text;
        joined.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
        for (const char16_t invisible : {u'\u200b', u'\u200c', u'\u200d', u'\u2060', u'\ufeff'})
            joined.remove(QChar(invisible));
        QString out;
        int breaks = 0;
        for (QString line : joined.split(u'\n')) {
            while (!line.isEmpty() && (line.back() == u' ' || line.back() == u'\t' || line.back() == u'\u00a0'))
                line.chop(1);
            if (line.isEmpty()) {
                ++breaks;
                continue;
            }
            if (!out.isEmpty())
                out += breaks >= 2 ? u"\n\n"_s : u"\n"_s;
            out += line;
            breaks = 1;
        }
        while (!out.isEmpty() && (out.front() == u' ' || out.front() == u'\t' || out.front() == u'\u00a0'))
            out.remove(0, 1);
        return out;
    };
    const QString alphabet = u"ab \t\n\n\r\u200b\u00a0"_s;
    std::uint32_t seed = 7;
    for (int round = 0; round < 20'000; ++round) {
        QString text;
        seed = seed * 1664525u + 1013904223u;
        const int length = int(seed >> 28);
        for (int i = 0; i < length; ++i) {
            seed = seed * 1664525u + 1013904223u;
            text += alphabet[qsizetype((seed >> 24) % std::uint32_t(alphabet.size()))];
        }
        ASSERT_EQ(PresentationText::cleanText(text), reference(text)) << text.toUtf8().toPercentEncoding().constData();
    }
    const QString clean = QString::fromLatin1("one\n\ntwo  words\n  indented");
    EXPECT_TRUE(PresentationText::cleanText(clean).isSharedWith(clean));
}

TEST(HostileMetadata, WrongTypesGiveAPlainResultAndNothingIsLost)
{
    const auto p = present(message(1, "step", "still here", R"({"kind":7,"status":[1],"tool":{"a":1},"image":"x",
        "artifact":[],"msg_parts":"no","args":"query","result":5,"cost_usd":"1"})"));
    EXPECT_EQ(p.variant, MessageVariant::progress);
    EXPECT_EQ(p.body, QStringLiteral("still here"));
    EXPECT_EQ(p.title, QStringLiteral("still here"));

    // A long line of one character goes through every pattern without trouble.
    const QString longLine(200'000, u'*');
    ChatMessage big = step(2, R"({"tool":"web_search"})");
    big.content = longLine;
    EXPECT_EQ(present(big).body.size(), longLine.size());
}
