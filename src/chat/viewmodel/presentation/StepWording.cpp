#include "chat/viewmodel/presentation/StepWording.h"

#include "chat/viewmodel/presentation/MessageSignals.h"
#include "chat/viewmodel/presentation/PresentationText.h"
#include "chat/viewmodel/presentation/SharedPattern.h"
#include "chat/viewmodel/presentation/WebStepDetails.h"

#include <array>

namespace halvex::StepWording {

namespace {

struct TopicRule {
    QRegularExpression pattern;
    QString icon;
    QString title;
};

// Rules 5 to 13: topics whose title does not depend on the step's progress.
const std::array<TopicRule, 9>& topicRules()
{
    static const std::array<TopicRule, 9> rules{{
        {compiledPattern(QStringLiteral("send_email|resend_email|email sent")), QStringLiteral("envelope"),
         QStringLiteral("Sent an email")},
        {compiledPattern(QStringLiteral("calendar|event_create")), QStringLiteral("calendar"),
         QStringLiteral("Updated the calendar")},
        {compiledPattern(QStringLiteral("phone|call|voice")), QStringLiteral("phone.fill"),
         QStringLiteral("Completed a phone call")},
        {compiledPattern(QStringLiteral("payment")), QStringLiteral("creditcard.fill"),
         QStringLiteral("Created a payment link")},
        {compiledPattern(QStringLiteral("worker|delegate|teammate|background")), QStringLiteral("person.2.fill"),
         QStringLiteral("Completed a worker task")},
        {compiledPattern(QStringLiteral("user_table")), QStringLiteral("tablecells"),
         QStringLiteral("Updated a data table")},
        {compiledPattern(QStringLiteral("memory|notes?_")), QStringLiteral("brain.head.profile"),
         QStringLiteral("Updated saved notes")},
        {compiledPattern(QStringLiteral("generate_image|edit_image")), QStringLiteral("photo"),
         QStringLiteral("Created an image")},
        {compiledPattern(QStringLiteral("generate_document|generate_presentation|create_file")), QStringLiteral("doc"),
         QStringLiteral("Created a document")},
    }};
    return rules;
}

// Lifecycle kinds say nothing about what a step did; "tool_call" would otherwise read as a
// phone call and "Tool Call" would become a title.
bool isLifecycleKind(const QString& kind)
{
    static const QRegularExpression re = compiledPattern(
        QStringLiteral("^(?:tool[_-]?(?:call|start|started|done|result|status|end|error|update)|step|goal_step)$"));
    return searches(re, kind);
}

StepCopy gear(const QString& title) { return {QStringLiteral("gearshape.fill"), title}; }

} // namespace

bool readsFinished(const QString& kind, const QString& status)
{
    static const QRegularExpression re
        = compiledPattern(QStringLiteral("tool[_-]?done|\\bdone\\b|completed|complete|success|succeeded"));
    return searches(re, kind) || searches(re, status);
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
    const QString text = (s.tool + u' ' + topicKind + u' ' + s.body).toLower();

    if (failed) {
        // A refusal is often said only by the status ("forbidden") or the error field.
        const QString why = text + u' ' + s.status.toLower() + u' '
            + message.metadata.string(QStringLiteral("error")).value_or(QString()).toLower();
        static const QRegularExpression permission
            = compiledPattern(QStringLiteral("unauthorized|forbidden|permission"));
        if (searches(permission, why))
            return {QStringLiteral("lock.fill"), QStringLiteral("Needs permission to continue")};
        return {QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("Could not complete this task")};
    }

    const bool finished = readsFinished(s.kind, s.status);
    static const QRegularExpression webSearch = compiledPattern(QStringLiteral("web[_-]?search|search_query"));
    if (searches(webSearch, text)) {
        const auto& query = details().query;
        if (query && !query->isEmpty())
            return {QStringLiteral("magnifyingglass"),
                    (finished ? QStringLiteral("Searched ") : QStringLiteral("Searching ")) + *query};
        return {QStringLiteral("magnifyingglass"),
                finished ? QStringLiteral("Searched the web") : QStringLiteral("Searching the web")};
    }
    static const QRegularExpression browsing = compiledPattern(QStringLiteral("computer_use|browser|browse|navigate"));
    if (searches(browsing, text)) {
        const auto& page = details().page;
        if (page && !page->isEmpty())
            return {QStringLiteral("globe"),
                    (finished ? QStringLiteral("Opened ") : QStringLiteral("Opening ")) + *page};
        return {QStringLiteral("globe"),
                finished ? QStringLiteral("Opened a web page") : QStringLiteral("Opening a web page")};
    }
    for (const TopicRule& rule : topicRules()) {
        if (searches(rule.pattern, text))
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
