import QtQuick
import Halvex.Chat

// A goal result waiting for the user's review.
// A look of MessageRow, loaded by its address.
GoalReviewCard {
    // The row that loaded this look (through its loader).
    readonly property MessageRow row: parent.parent as MessageRow
    review: row.review
    busy: row.reviewBusy
    error: row.reviewError
    session: row.session
}
