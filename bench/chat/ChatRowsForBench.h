#pragma once
// The screen's per-version work, behind a plain function: the grouping headers and the view
// model's cannot share one translation unit yet (both declare a GoalReviewItem).
#include "chat/model/ChatMessage.h"

#include <QList>

namespace halvex::bench {

// Grouped rows of the open chat, regrouping only what changed; answers the row count.
qsizetype recomputeRows(const QList<ChatMessage>& messages);
// The same, grouping the whole list again (what the screen did before).
qsizetype recomputeAllRows(const QList<ChatMessage>& messages);
// The message's presentation through the shared cache.
void presentCached(const ChatMessage& message);

} // namespace halvex::bench
