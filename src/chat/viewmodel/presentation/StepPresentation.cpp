#include "chat/viewmodel/presentation/StepPresentation.h"

#include "chat/viewmodel/presentation/CueWords.h"
#include "chat/viewmodel/presentation/PresentationText.h"
#include "chat/viewmodel/presentation/SharedPattern.h"
#include "chat/viewmodel/presentation/StepWording.h"
#include "chat/viewmodel/presentation/WebStepDetails.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace halvex::StepPresentation {

namespace {

// Why a step failed: its error field when it names one, else what it said.
QString errorText(const ChatMessage& message, const MessageSignals& cues)
{
    const JSONObject& raw = message.metadata.raw;
    static const QStringList keys{QStringLiteral("error"), QStringLiteral("reason"), QStringLiteral("error_message"),
                                  QStringLiteral("message")};
    for (const QString& key : keys) {
        const auto it = raw.constFind(key);
        if (it == raw.cend())
            continue;
        if (it->isString() && !it->toString().trimmed().isEmpty())
            return PresentationText::cleanText(it->toString());
        if (it->isObject()) {
            if (auto nested = (*it)["message"]; nested && nested->isString() && !nested->toString().trimmed().isEmpty())
                return PresentationText::cleanText(nested->toString());
        }
    }
    return cues.body;
}

bool concernsTokenBudget(const QString& text)
{
    static const QRegularExpression re = compiledPattern(QStringLiteral(
        "token[ _-]?budget|budget[ _-](?:exceeded|exhausted|reached|limit)|insufficient[ _-](?:tokens|balance|funds)"
        "|out of tokens|not enough tokens"));
    return searches(re, text);
}

void addWebRows(const WebStepDetails& details, MessagePresentation& p)
{
    if (details.query)
        p.metadata.append({QStringLiteral("Query"), *details.query});
    if (details.host)
        p.metadata.append({QStringLiteral("Site"), *details.host});
}

} // namespace

bool isFailed(const MessageSignals& cues)
{
    const CueWords::Words failures{"error"_L1,        "failed"_L1,    "failure"_L1,     "blocked"_L1,
                                   "unauthorized"_L1, "forbidden"_L1, "interrupted"_L1, "cancelled"_L1};
    return CueWords::hasToken(cues.status, u" _-", failures) || CueWords::hasToken(cues.kind, u" _-", failures);
}

bool isFinished(const MessageSignals& cues)
{
    return CueWords::isOneOf(
               cues.status,
               {"done"_L1, "success"_L1, "succeeded"_L1, "complete"_L1, "completed"_L1, "sent"_L1, "published"_L1})
        || CueWords::endsWithToken(cues.kind, u'_', {"tool_done"_L1, "completed"_L1, "sent"_L1, "published"_L1});
}

bool isOutsideAction(const MessageSignals& cues)
{
    return CueWords::containsAny(cues.tool,
                                 {"email"_L1, "calendar"_L1, "event_create"_L1, "phone"_L1, "call"_L1, "payment"_L1,
                                  "connector"_L1, "nango"_L1, "api_request"_L1, "http_request"_L1, "worker"_L1,
                                  "delegate"_L1, "teammate"_L1, "background"_L1});
}

MessagePresentation present(const ChatMessage& message, const MessageSignals& cues, ChatSurface surface)
{
    MessagePresentation p;
    p.surface = surface;
    p.body = cues.body;

    if (isFailed(cues)) {
        const StepCopy copy = StepWording::stepCopy(message, cues, true);
        const QString reason = errorText(message, cues);
        p.variant = MessageVariant::alert;
        p.tone = MessageTone::error;
        p.status = QStringLiteral("failed");
        p.icon = copy.icon;
        p.title = copy.title;
        if (!reason.isEmpty())
            p.metadata.append({QStringLiteral("Reason"), reason});
        if (concernsTokenBudget(reason + u' ' + cues.kind + u' ' + cues.status))
            p.nextAction = QStringLiteral("Review the token budget and try again");
        return p;
    }

    const WebStepDetails web = WebStepDetails::of(message);
    const StepCopy copy = cues.kind == u"goal_step" ? StepWording::goalStepCopy(cues.body)
                                                    : StepWording::stepCopy(message, cues, false, &web);
    p.icon = copy.icon;
    p.title = copy.title;
    addWebRows(web, p);
    if (isFinished(cues)) {
        p.variant = MessageVariant::event;
        p.tone = MessageTone::success;
        p.status = QStringLiteral("done");
    } else if (isOutsideAction(cues)) {
        // Sending, paying or handing work on is shown as it happens, never folded away.
        p.variant = MessageVariant::event;
        p.tone = MessageTone::action;
        p.status = cues.status.toLower();
    } else {
        p.variant = MessageVariant::progress;
        p.tone = MessageTone::info;
        p.status = cues.status.isEmpty() ? QStringLiteral("running") : cues.status.toLower();
    }
    return p;
}

} // namespace halvex::StepPresentation
