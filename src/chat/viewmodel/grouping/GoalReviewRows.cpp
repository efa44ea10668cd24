#include "chat/viewmodel/grouping/GoalReviewRows.h"

#include <QHash>

#include <vector>

namespace halvex::GoalReviewRows {

QList<ChatRowItem> attach(const QList<ChatRowItem>& rows, const QList<GoalReviewItem>& reviews)
{
    if (reviews.isEmpty())
        return rows;
    QHash<QString, qsizetype> lastRowOfRun;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const auto note = [&](const ChatMessage& m) {
            if (auto run = m.metadata.goalRunId())
                lastRowOfRun.insert(*run, i);
        };
        // Runs on every change of a chat with reviews: read the rows in place, copy nothing.
        if (const ChatMessage* single = rows[i].message()) {
            note(*single);
        } else if (const StepGroupRow* group = rows[i].group()) {
            note(group->first);
            for (const ChatMessage& m : group->middle)
                note(m);
            note(group->last);
        } else if (const ArtifactChipsRow* chips = rows[i].chips()) {
            for (const ChatMessage& m : chips->messages)
                note(m);
        }
    }
    std::vector<QList<GoalReviewItem>> after(size_t(rows.size()));
    for (const GoalReviewItem& review : reviews) {
        const auto it = lastRowOfRun.constFind(review.runId);
        if (it != lastRowOfRun.cend())
            after[size_t(*it)].append(review);
    }
    QList<ChatRowItem> out;
    out.reserve(rows.size() + reviews.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        out.append(rows[i]);
        for (const GoalReviewItem& review : after[size_t(i)])
            out.append(ChatRowItem::goalReview(review));
    }
    return out;
}

} // namespace halvex::GoalReviewRows
