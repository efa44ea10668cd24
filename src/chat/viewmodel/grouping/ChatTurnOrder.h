#pragma once
// Which piece of work a message belongs to, and the order the chat shows it in: within one
// piece of work the steps first, then interim reports and spend, then the answer.
#include "chat/model/ChatMessage.h"

#include <QList>
#include <QString>

#include <optional>

namespace halvex::ChatStepGrouping {

// "work_id" of a non-terminal chat turn.
std::optional<QString> chatTurnID(const ChatMessage& message);

// 0 steps, 1 interim reports and spend lines, 2 answers, 3 chain reports.
int turnRank(const ChatMessage& message);

// Cut at every user message; inside each piece, messages sharing a "work_id" are sorted by
// rank into the places they already occupy, stably. Everything else keeps its place.
QList<ChatMessage> orderedTurns(const QList<ChatMessage>& messages);

} // namespace halvex::ChatStepGrouping
