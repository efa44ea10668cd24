#include "chat/viewmodel/presentation/MessageSignals.h"

#include "chat/viewmodel/presentation/PresentationText.h"

namespace halvex {

QString rawMessageText(const ChatMessage& message)
{
    if (const auto parts = message.metadata.msgParts(); parts && !parts->isEmpty())
        return parts->join(QStringLiteral("\n\n"));
    return message.content;
}

MessageSignals MessageSignals::of(const ChatMessage& message)
{
    MessageSignals s;
    s.kind = message.metadata.string(QStringLiteral("kind")).value_or(QString());
    s.status = message.metadata.string(QStringLiteral("status")).value_or(QString());
    s.tool = message.metadata.toolIdentifier().value_or(QString());
    s.body = PresentationText::cleanText(rawMessageText(message));
    return s;
}

} // namespace halvex
