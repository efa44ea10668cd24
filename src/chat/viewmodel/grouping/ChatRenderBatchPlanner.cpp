#include "chat/viewmodel/grouping/ChatRenderBatchPlanner.h"

#include "chat/viewmodel/presentation/ChatMessageTextLength.h"

namespace halvex::ChatRenderBatchPlanner {

qsizetype estimatedUTF8Bytes(const ChatRowItem& row)
{
    if (const GoalReviewItem* review = row.review())
        return ChatMessageTextLength::utf8Length(review->objective)
            + ChatMessageTextLength::utf8Length(review->definitionOfDone);
    qsizetype bytes = 0;
    for (const ChatMessage& m : row.messages())
        bytes += ChatMessageTextLength::of(m);
    return bytes;
}

} // namespace halvex::ChatRenderBatchPlanner
