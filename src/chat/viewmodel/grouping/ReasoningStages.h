#pragma once
// The pieces a reasoning card is built from.
#include "chat/model/ChatMessage.h"
#include "chat/viewmodel/grouping/ReasoningCard.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace halvex::ChatStepGrouping {

// "from", else "member_name", else empty. A hand-off target is not the actor.
QString stageActor(const ChatMessage& message);

// "@sales-lead" reads "Sales Lead".
QString personName(const QString& handle);

// Texts that differ only in numbers, punctuation, case or spacing give the same key.
QString stepDedupKey(const QString& text);

// "Ann", "Ann and Bob", "Ann, Bob and Cara", "Ann, Bob +3".
QString nameList(const QStringList& names);

// Consecutive stages of the same actor, one block each.
QList<ReasoningBlock> blockify(const QList<ReasoningStage>& stages);

} // namespace halvex::ChatStepGrouping
