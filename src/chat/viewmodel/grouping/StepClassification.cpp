#include "chat/viewmodel/grouping/StepClassification.h"

#include "chat/viewmodel/presentation/CueWords.h"
#include "chat/viewmodel/presentation/MessagePresentationResolver.h"

using namespace Qt::StringLiterals;

namespace halvex::ChatStepGrouping {

namespace {

QString kindOf(const ChatMessage& message)
{
    return message.metadata.string(QStringLiteral("kind")).value_or(QString());
}

} // namespace

bool isBrowserView(const ChatMessage& message)
{
    return kindOf(message).compare(QLatin1String("browser_view"), Qt::CaseInsensitive) == 0;
}

bool isGroupable(const ChatMessage& message, const MessagePresentation& presentation)
{
    const bool stepLike = message.isStep() || kindOf(message) == u"goal_step";
    return stepLike && !isBrowserView(message) && presentation.variant == MessageVariant::progress;
}

bool isInternalCollabEvent(const ChatMessage& message, const MessagePresentation& presentation)
{
    if (presentation.variant != MessageVariant::event || !message.isStep() || isBrowserView(message))
        return false;
    const CueWords::Words collaboration{"teammate"_L1, "delegate"_L1, "worker"_L1, "handoff"_L1, "background"_L1};
    return CueWords::containsAny(kindOf(message), collaboration)
        || CueWords::containsAny(message.metadata.toolIdentifier().value_or(QString()), collaboration);
}

bool isGroupable(const ChatMessage& message, ChatSurface surface)
{
    return isGroupable(message, *MessagePresentationResolver::cachedResolveShared(message, surface));
}

bool isInternalCollabEvent(const ChatMessage& message, ChatSurface surface)
{
    return isInternalCollabEvent(message, *MessagePresentationResolver::cachedResolveShared(message, surface));
}

} // namespace halvex::ChatStepGrouping
