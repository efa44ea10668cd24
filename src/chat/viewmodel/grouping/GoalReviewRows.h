#pragma once
// Goal results waiting for review, each shown right after the messages of its run.
#include "chat/viewmodel/grouping/ChatRowItem.h"
#include "projects/model/GoalReviewItem.h"

#include <QList>

namespace halvex::GoalReviewRows {

// A review whose run has no message among the rows is left out.
QList<ChatRowItem> attach(const QList<ChatRowItem>& rows, const QList<GoalReviewItem>& reviews);

} // namespace halvex::GoalReviewRows
