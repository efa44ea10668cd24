#include "chat/service/ChatHistoryPageGate.h"

namespace halvex {

std::optional<qint64> ChatHistoryPageGate::pagingBound(const QList<ChatMessage>& messages)
{
    for (const ChatMessage& m : messages) {
        if (m.id >= 1)
            return m.id;
    }
    return std::nullopt;
}

std::optional<qint64> ChatHistoryPageGate::begin(const QList<ChatMessage>& messages)
{
    const auto bound = pagingBound(messages);
    if (!bound || activeBefore || lastCompletedBefore == bound)
        return std::nullopt;
    activeBefore = bound;
    return bound;
}

void ChatHistoryPageGate::finish(qint64 bound, bool succeeded)
{
    if (activeBefore == bound)
        activeBefore.reset();
    if (succeeded)
        lastCompletedBefore = bound;
}

} // namespace halvex
