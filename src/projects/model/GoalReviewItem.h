#pragma once
// A delivered goal result waiting for the user's review; the chat shows it after its run.
#include <QString>

#include <optional>

namespace halvex {

struct GoalReviewItem {
    QString goalId;
    QString runId;
    int version = 0;
    QString objective;
    QString definitionOfDone;
    std::optional<QString> reviewDeadline;
    // Keys the busy and error maps of the chat.
    QString key() const { return goalId + QLatin1Char(':') + runId; }
    bool operator==(const GoalReviewItem&) const = default;
};

} // namespace halvex
