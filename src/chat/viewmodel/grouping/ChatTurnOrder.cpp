#include "chat/viewmodel/grouping/ChatTurnOrder.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace halvex::ChatStepGrouping {

std::optional<QString> chatTurnID(const ChatMessage& message)
{
    const MessageMetadata& m = message.metadata;
    if (m.string(QStringLiteral("work_kind")) != QStringLiteral("chat_turn"))
        return std::nullopt;
    const auto terminal = m.raw.constFind(QStringLiteral("work_terminal"));
    if (terminal != m.raw.cend() && terminal->isBool() && terminal->toBool())
        return std::nullopt;
    return m.nonEmptyString(QStringLiteral("work_id"));
}

int turnRank(const ChatMessage& message)
{
    const QString kind = message.metadata.string(QStringLiteral("kind")).value_or(QString()).toLower();
    if (kind == u"chain_report")
        return 3;
    if (message.isStep())
        return 0;
    if (kind == u"task_report" || kind == u"turn_spend")
        return 1;
    // An hourglass line is an interim status, not the answer.
    if (QStringView(message.content).trimmed().startsWith(QStringLiteral("\u23F3")))
        return 1;
    return 2;
}

namespace {

void orderPiece(QList<ChatMessage>& out, qsizetype begin, qsizetype end)
{
    QHash<QString, std::vector<qsizetype>> slotsByWork;
    for (qsizetype i = begin; i < end; ++i) {
        if (auto work = out[i].metadata.nonEmptyString(QStringLiteral("work_id")))
            slotsByWork[*work].push_back(i);
    }
    for (const std::vector<qsizetype>& slots : std::as_const(slotsByWork)) {
        if (slots.size() < 2)
            continue;
        std::vector<std::pair<int, ChatMessage>> ranked;
        ranked.reserve(slots.size());
        for (qsizetype slot : slots)
            ranked.emplace_back(turnRank(out[slot]), out[slot]);
        std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (size_t k = 0; k < slots.size(); ++k)
            out[slots[k]] = std::move(ranked[k].second);
    }
}

} // namespace

QList<ChatMessage> orderedTurns(const QList<ChatMessage>& messages)
{
    QList<ChatMessage> out = messages;
    qsizetype pieceStart = 0;
    for (qsizetype i = 0; i <= out.size(); ++i) {
        if (i == out.size() || out[i].isUser()) {
            if (i - pieceStart > 1)
                orderPiece(out, pieceStart, i);
            pieceStart = i + 1;
        }
    }
    return out;
}

} // namespace halvex::ChatStepGrouping
