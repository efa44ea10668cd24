#pragma once
// Goals of one agent or team as the service lists them, the answers of the guided setup, and
// what the chat shows of them.
#include "core/json/JsonReader.h"
#include "projects/model/GoalReviewItem.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace halvex {

class GoalScope {
public:
    static GoalScope agent(QString id) { return GoalScope(false, std::move(id)); }
    static GoalScope team(QString slug) { return GoalScope(true, std::move(slug)); }
    bool isTeam() const { return m_team; }
    const QString& value() const { return m_value; }
    // "api/v2/custom-agents/<id>" or "api/v2/teams/<slug>".
    QString base() const;
    bool operator==(const GoalScope&) const = default;

private:
    GoalScope(bool team, QString value) : m_team(team), m_value(std::move(value)) {}
    bool m_team;
    QString m_value;
};

struct GoalPendingReviewRef {
    QString runId;
    std::optional<QString> acceptanceStatus;
    std::optional<QString> reviewDeadline;
    static GoalPendingReviewRef decode(const JsonReader& json);
};

struct GoalListItem {
    QString id;
    std::optional<QString> objective;
    std::optional<QString> status;
    std::optional<double> target;
    std::optional<double> current;
    std::optional<QString> unit;
    std::optional<QString> executionMode;
    std::optional<QString> title;
    std::optional<QString> summary;
    std::optional<QString> name;
    std::optional<int> version;
    std::optional<QString> definitionOfDone;
    std::optional<GoalPendingReviewRef> pendingReview;
    static GoalListItem decode(const JsonReader& json);
};

struct GoalListResponse {
    QList<GoalListItem> goals;
    static GoalListResponse decode(const JsonReader& json);
};

struct StartedGoal {
    QString id;
    QString objective;
    static StartedGoal decode(const JsonReader& json);
};

struct GoalAutoStartResponse {
    std::optional<QString> status;
    std::optional<QString> requestId;
    std::optional<QString> question;
    std::optional<QStringList> options;
    std::optional<int> step;
    std::optional<int> totalSteps;
    std::optional<StartedGoal> goal;
    std::optional<QString> error;
    std::optional<QString> message;
    static GoalAutoStartResponse decode(const JsonReader& json);
};

struct GoalToolRow {
    enum class Tone { active, working, attention };
    QString id;
    QString title;
    QString detail;
    QString status;
    Tone tone = Tone::active;
    bool operator==(const GoalToolRow&) const = default;
};

} // namespace halvex
