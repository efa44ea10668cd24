#include "chat/viewmodel/presentation/StepWording.h"

#include "chat/viewmodel/presentation/CueWords.h"
#include "chat/viewmodel/presentation/MessageSignals.h"
#include "chat/viewmodel/presentation/PresentationText.h"
#include "chat/viewmodel/presentation/SharedPattern.h"
#include "chat/viewmodel/presentation/WebStepDetails.h"

#include <algorithm>
#include <array>
#include <vector>

using namespace Qt::StringLiterals;

namespace halvex::StepWording {

namespace {

struct TopicRule {
    std::vector<QLatin1StringView> words; // in lower case, matched ignoring case
    QString icon;
    QString title;
};

// Rules 5 to 13: topics whose title does not depend on the step's progress.
const std::array<TopicRule, 9>& topicRules()
{
    static const std::array<TopicRule, 9> rules{{
        {{"send_email"_L1, "resend_email"_L1, "email sent"_L1},
         QStringLiteral("envelope"),
         QStringLiteral("Sent an email")},
        {{"calendar"_L1, "event_create"_L1}, QStringLiteral("calendar"), QStringLiteral("Updated the calendar")},
        {{"phone"_L1, "call"_L1, "voice"_L1}, QStringLiteral("phone.fill"), QStringLiteral("Completed a phone call")},
        {{"payment"_L1}, QStringLiteral("creditcard.fill"), QStringLiteral("Created a payment link")},
        {{"worker"_L1, "delegate"_L1, "teammate"_L1, "background"_L1},
         QStringLiteral("person.2.fill"),
         QStringLiteral("Completed a worker task")},
        {{"user_table"_L1}, QStringLiteral("tablecells"), QStringLiteral("Updated a data table")},
        {{"memory"_L1, "note_"_L1, "notes_"_L1},
         QStringLiteral("brain.head.profile"),
         QStringLiteral("Updated saved notes")},
        {{"generate_image"_L1, "edit_image"_L1}, QStringLiteral("photo"), QStringLiteral("Created an image")},
        {{"generate_document"_L1, "generate_presentation"_L1, "create_file"_L1},
         QStringLiteral("doc"),
         QStringLiteral("Created a document")},
    }};
    return rules;
}

// Lifecycle kinds say nothing about what a step did; "tool_call" would otherwise read as a
// phone call and "Tool Call" would become a title.
bool isLifecycleKind(const QString& kind)
{
    if (CueWords::isOneOf(kind, {"step"_L1, "goal_step"_L1}))
        return true;
    if (!kind.startsWith("tool"_L1, Qt::CaseInsensitive))
        return false;
    QStringView rest = QStringView(kind).sliced(4);
    if (rest.startsWith(u'_') || rest.startsWith(u'-'))
        rest = rest.sliced(1);
    return CueWords::isOneOf(
        rest,
        {"call"_L1, "start"_L1, "started"_L1, "done"_L1, "result"_L1, "status"_L1, "end"_L1, "error"_L1, "update"_L1});
}

StepCopy gear(const QString& title) { return {QStringLiteral("gearshape.fill"), title}; }

} // namespace

bool readsFinished(const QString& kind, const QString& status)
{
    const auto reads = [](const QString& text) {
        return CueWords::containsAny(
                   text, {"tooldone"_L1, "tool_done"_L1, "tool-done"_L1, "complete"_L1, "success"_L1, "succeeded"_L1})
            || CueWords::hasWholeWord(text, "done"_L1);
    };
    return reads(kind) || reads(status);
}

StepCopy stepCopy(const ChatMessage& message, bool failed)
{
    return stepCopy(message, MessageSignals::of(message), failed);
}

StepCopy stepCopy(const ChatMessage& message, const MessageSignals& s, bool failed, const WebStepDetails* web)
{
    std::optional<WebStepDetails> read;
    const auto details = [&]() -> const WebStepDetails& {
        if (web)
            return *web;
        if (!read)
            read = WebStepDetails::of(message);
        return *read;
    };
    const QString topicKind = isLifecycleKind(s.kind) ? QString() : s.kind;
    // Matched case-blind where it lies: lower-casing a copy of the body cost a twentieth of a
    // streamed event.
    const QString text = s.tool + u' ' + topicKind + u' ' + s.body;

    if (failed) {
        // A refusal is often said only by the status ("forbidden") or the error field.
        const QString why
            = text + u' ' + s.status + u' ' + message.metadata.string(QStringLiteral("error")).value_or(QString());
        if (CueWords::containsAny(why, {"unauthorized"_L1, "forbidden"_L1, "permission"_L1}))
            return {QStringLiteral("lock.fill"), QStringLiteral("Needs permission to continue")};
        return {QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("Could not complete this task")};
    }

    const bool finished = readsFinished(s.kind, s.status);
    if (CueWords::containsAny(text, {"websearch"_L1, "web_search"_L1, "web-search"_L1, "search_query"_L1})) {
        const auto& query = details().query;
        if (query && !query->isEmpty())
            return {QStringLiteral("magnifyingglass"),
                    (finished ? QStringLiteral("Searched ") : QStringLiteral("Searching ")) + *query};
        return {QStringLiteral("magnifyingglass"),
                finished ? QStringLiteral("Searched the web") : QStringLiteral("Searching the web")};
    }
    // "browse" covers "browser".
    if (CueWords::containsAny(text, {"computer_use"_L1, "browse"_L1, "navigate"_L1})) {
        const auto& page = details().page;
        if (page && !page->isEmpty())
            return {QStringLiteral("globe"),
                    (finished ? QStringLiteral("Opened ") : QStringLiteral("Opening ")) + *page};
        return {QStringLiteral("globe"),
                finished ? QStringLiteral("Opened a web page") : QStringLiteral("Opening a web page")};
    }
    for (const TopicRule& rule : topicRules()) {
        if (std::any_of(rule.words.begin(), rule.words.end(),
                        [&](QLatin1StringView w) { return CueWords::containsAny(text, {w}); }))
            return {rule.icon, rule.title};
    }
    if (s.tool == u"history_compact")
        return {QStringLiteral("archivebox.fill"), QStringLiteral("Compacted earlier context")};
    if (s.tool == u"silent_no_action")
        return {QStringLiteral("checkmark.circle"), QStringLiteral("No action needed")};
    if (!s.tool.trimmed().isEmpty())
        return gear(PresentationText::titleCase(s.tool));
    if (!topicKind.trimmed().isEmpty())
        return gear(PresentationText::titleCase(topicKind));
    const QString line = PresentationText::firstReadableLine(s.body);
    return gear(line.isEmpty() ? QStringLiteral("Working") : line);
}

namespace {

// The text after a leading label, or nullopt when the line does not start with it.
std::optional<QString> afterLabel(const QString& line, QLatin1String label)
{
    if (!line.startsWith(label, Qt::CaseInsensitive))
        return std::nullopt;
    return line.mid(label.size()).trimmed();
}

} // namespace

StepCopy goalStepCopy(const QString& text)
{
    const QString line = PresentationText::firstReadableLine(text);
    if (auto query = afterLabel(line, QLatin1String("Searching the web:")))
        return {QStringLiteral("magnifyingglass"),
                QStringLiteral("Searched the web: ") + (query->isEmpty() ? QStringLiteral("(query hidden)") : *query)};
    if (auto page = afterLabel(line, QLatin1String("Browsing:")))
        return {QStringLiteral("globe"),
                page->isEmpty() ? QStringLiteral("Opened a web page") : QStringLiteral("Opened ") + *page};
    if (auto resource = afterLabel(line, QLatin1String("Fetching:")))
        return {QStringLiteral("arrow.down.circle"),
                resource->isEmpty() ? QStringLiteral("Fetched a remote resource")
                                    : QStringLiteral("Fetched ") + *resource};
    static const QRegularExpression email = compiledPattern(QStringLiteral(
        "\\bsend(?:ing)?\\s+(?:an?\\s+)?e-?mails?\\b|\\be-?mails?\\s+sent\\b|\\bsent\\s+(?:an?\\s+)?e-?mail"));
    if (searches(email, line)) {
        // The line's own tense is kept; the card settles "Sending …" once the run moves on.
        if (auto rest = afterLabel(line, QLatin1String("Sending ")))
            return {QStringLiteral("envelope.fill"), QStringLiteral("Sending ") + *rest};
        if (auto rest = afterLabel(line, QLatin1String("Sent ")))
            return {QStringLiteral("envelope.fill"), QStringLiteral("Sent ") + *rest};
        static const QRegularExpression sent = compiledPattern(QStringLiteral("\\bsent\\b"));
        return {QStringLiteral("envelope.fill"),
                searches(sent, line) ? QStringLiteral("Sent an email") : QStringLiteral("Sending an email")};
    }
    if (auto integration = afterLabel(line, QLatin1String("Calling app integration:")))
        return {QStringLiteral("puzzlepiece.extension.fill"),
                integration->isEmpty() ? QStringLiteral("Called an app integration")
                                       : QStringLiteral("Called ") + *integration};
    if (auto rest = afterLabel(line, QLatin1String("Running"))) {
        while (rest->startsWith(u':'))
            *rest = rest->mid(1).trimmed();
        if (!rest->isEmpty())
            return gear(QStringLiteral("Ran ") + *rest);
    }
    static const QRegularExpression browse = compiledPattern(QStringLiteral("browse|browser|navigate"));
    if (searches(browse, line))
        return {QStringLiteral("globe"), QStringLiteral("Opened a web page")};
    static const QRegularExpression search = compiledPattern(QStringLiteral("search"));
    if (searches(search, line))
        return {QStringLiteral("magnifyingglass"), QStringLiteral("Searched the web")};
    return gear(QStringLiteral("Working"));
}

} // namespace halvex::StepWording
