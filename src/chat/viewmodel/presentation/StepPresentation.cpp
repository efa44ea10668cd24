#include "chat/viewmodel/presentation/StepPresentation.h"

#include "chat/viewmodel/presentation/PresentationText.h"
#include "chat/viewmodel/presentation/SharedPattern.h"
#include "chat/viewmodel/presentation/StepWording.h"
#include "chat/viewmodel/presentation/WebStepDetails.h"

#include <QStringList>

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
    static const QRegularExpression re = compiledPattern(QStringLiteral(
        "(?:^|[ _-])(error|failed|failure|blocked|unauthorized|forbidden|interrupted|cancelled)(?:$|[ _-])"));
    return searches(re, cues.status) || searches(re, cues.kind);
}

bool isFinished(const MessageSignals& cues)
{
    static const QRegularExpression status
        = compiledPattern(QStringLiteral("^(done|success|succeeded|complete|completed|sent|published)$"));
    static const QRegularExpression kind
        = compiledPattern(QStringLiteral("(?:^|_)(tool_done|completed|sent|published)$"));
    return searches(status, cues.status) || searches(kind, cues.kind);
}

bool isOutsideAction(const MessageSignals& cues)
{
    static const QRegularExpression re = compiledPattern(QStringLiteral(
        "send_email|resend_email|email|calendar|event_create|phone|call|payment|connector|nango|api_request"
        "|http_request|worker|delegate|teammate|background"));
    return searches(re, cues.tool);
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
