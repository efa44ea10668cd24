#include "projects/model/GoalBuilders.h"

#include <QLocale>

#include <cmath>

namespace halvex {

namespace {

bool isFinished(const QString& lowerStatus)
{
    return lowerStatus == QLatin1String("completed") || lowerStatus == QLatin1String("stopped")
        || lowerStatus == QLatin1String("archived") || lowerStatus == QLatin1String("failed");
}

QString number(double value) { return QLocale::c().toString(value, 'g', 15); }

} // namespace

QString GoalRowsBuilder::detail(const GoalListItem& goal)
{
    QStringList parts;
    if (goal.target && std::isfinite(*goal.target) && *goal.target > 0) {
        QString progress = number(goal.current.value_or(0)) + QStringLiteral(" of ") + number(*goal.target);
        if (goal.unit && !goal.unit->isEmpty())
            progress += QLatin1Char(' ') + *goal.unit;
        parts.append(progress);
    }
    if (goal.executionMode == QLatin1String("recurring"))
        parts.append(QStringLiteral("Recurring"));
    else if (goal.executionMode == QLatin1String("once"))
        parts.append(QStringLiteral("One-time"));
    return parts.join(QStringLiteral(" · "));
}

QList<GoalToolRow> GoalRowsBuilder::rows(const QList<GoalListItem>& goals)
{
    QList<GoalToolRow> out;
    for (const GoalListItem& goal : goals) {
        const QString status = goal.status.value_or(QStringLiteral("active")).toLower();
        if (isFinished(status))
            continue;
        GoalToolRow row;
        row.id = goal.id;
        row.title = goal.title.value_or(goal.objective.value_or(goal.name.value_or(QStringLiteral("Untitled goal"))));
        row.detail = detail(goal);
        if (status == QLatin1String("awaiting_review")) {
            row.status = QStringLiteral("Needs review");
            row.tone = GoalToolRow::Tone::attention;
        } else if (status == QLatin1String("paused")) {
            row.status = QStringLiteral("Paused");
        } else if (status == QLatin1String("running") || status == QLatin1String("validating")) {
            row.status = QStringLiteral("Working");
            row.tone = GoalToolRow::Tone::working;
        } else {
            row.status = QStringLiteral("Active");
        }
        out.append(row);
    }
    return out;
}

QList<GoalReviewItem> GoalReviewBuilder::pending(const QList<GoalListItem>& goals)
{
    QList<GoalReviewItem> out;
    for (const GoalListItem& goal : goals) {
        if (goal.status.value_or(QString()).toLower() != QLatin1String("awaiting_review") || !goal.pendingReview)
            continue;
        const GoalPendingReviewRef& review = *goal.pendingReview;
        if (review.runId.isEmpty()
            || review.acceptanceStatus.value_or(QStringLiteral("pending")) != QLatin1String("pending"))
            continue;
        out.append({goal.id, review.runId, goal.version.value_or(0), goal.objective.value_or(QString()),
                    goal.definitionOfDone.value_or(QString()), review.reviewDeadline});
    }
    return out;
}

} // namespace halvex
