#pragma once
// Turns a goal list into the rows of the chat's goal tool and the results awaiting review.
#include "projects/model/GoalRecords.h"

namespace halvex {

namespace GoalRowsBuilder {
// Finished goals (completed, stopped, archived, failed) are left out.
QList<GoalToolRow> rows(const QList<GoalListItem>& goals);
// Progress when the target is a positive finite number, then the cadence.
QString detail(const GoalListItem& goal);
} // namespace GoalRowsBuilder

namespace GoalReviewBuilder {
QList<GoalReviewItem> pending(const QList<GoalListItem>& goals);
} // namespace GoalReviewBuilder

} // namespace halvex
