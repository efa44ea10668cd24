#pragma once
// The screen's per-version work, behind a plain function: the grouping headers and the view
// model's cannot share one translation unit yet (both declare a GoalReviewItem).
#include "chat/model/ChatMessage.h"

#include <QList>

namespace halvex::bench {

// The open chat's rows in the screen's list model, regrouping only what changed; answers the
// row count. `unchangedBefore` is the view model's `unchangedSince` of the version shown before.
qsizetype recomputeRows(const QList<ChatMessage>& messages, qsizetype unchangedBefore = 0);
// Another chat: the rows start empty.
void resetRows();
// The same, grouping the whole list again (what the screen did before).
qsizetype recomputeAllRows(const QList<ChatMessage>& messages);
// The message's presentation through the shared cache.
void presentCached(const ChatMessage& message);

} // namespace halvex::bench
