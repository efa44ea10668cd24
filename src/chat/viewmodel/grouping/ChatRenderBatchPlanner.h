#pragma once
// Sizes the batches in which the screen lays out rows: a batch is cut by the text it holds,
// not by row count, so one long report does not arrive together with fifty others.
#include "chat/viewmodel/grouping/ChatRowItem.h"

namespace halvex::ChatRenderBatchPlanner {

// The UTF-8 length of the row's text.
qsizetype estimatedUTF8Bytes(const ChatRowItem& row);

} // namespace halvex::ChatRenderBatchPlanner
