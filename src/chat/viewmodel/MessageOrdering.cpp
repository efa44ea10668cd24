#include "chat/viewmodel/MessageOrdering.h"

#include "chat/model/StepStatus.h"

#include <QHash>

#include <algorithm>

namespace halvex::MessageOrdering {

bool precedes(qint64 a, qint64 b)
{
    const bool aLocal = a < 0;
    const bool bLocal = b < 0;
    if (aLocal != bLocal)
        return bLocal;
    // Optimistic ids count down from -1, so the earlier turn has the larger id.
    return aLocal ? a > b : a < b;
}

void sort(QList<ChatMessage>& messages)
{
    std::stable_sort(messages.begin(), messages.end(),
                     [](const ChatMessage& l, const ChatMessage& r) { return precedes(l.id, r.id); });
}

bool isTruncatedStep(const ChatMessage& message)
{
    if (!message.isStep())
        return false;
    const JSONValue flag = message.metadata.raw.value(QStringLiteral("_truncated"));
    return flag.isBool() && flag.toBool();
}

namespace {

QString stepStatus(const ChatMessage& message)
{
    if (!message.isStep())
        return {};
    return message.metadata.raw.value(QStringLiteral("status")).toString().toLower();
}

} // namespace

bool mayReplace(const ChatMessage& local, const ChatMessage& incoming)
{
    if (isTruncatedStep(incoming) && !isTruncatedStep(local))
        return false;
    return !(StepStatus::isRunning(stepStatus(incoming)) && StepStatus::isSettled(stepStatus(local)));
}

QList<ChatMessage> merge(const QList<ChatMessage>& local, QList<ChatMessage> incoming)
{
    QList<ChatMessage> result = local;
    QHash<qint64, qsizetype> index;
    for (qsizetype i = 0; i < result.size(); ++i)
        index.insert(result[i].id, i);
    for (ChatMessage& message : incoming) {
        const auto found = index.constFind(message.id);
        if (found == index.constEnd()) {
            index.insert(message.id, result.size());
            result.append(std::move(message));
        } else if (mayReplace(result[*found], message)) {
            result[*found] = std::move(message);
        }
    }
    sort(result);
    return result;
}

bool isTurnComplete(const QList<ChatMessage>& messages)
{
    for (auto it = messages.crbegin(); it != messages.crend(); ++it) {
        if (it->isStep())
            continue;
        if (it->isUser())
            return false;
        if (!it->isAssistant())
            return false;
        const JSONValue calls = it->metadata.raw.value(QStringLiteral("tool_calls"));
        return !calls.isArray() || calls.toArray().isEmpty();
    }
    return true;
}

} // namespace halvex::MessageOrdering
