#pragma once
// What the intake shows while the service works: the sources it uses, the headline, the status
// line and the check-list of what is being done.
#include <QList>
#include <QString>

namespace halvex {

enum class ProjectIntakePhase { none, questions, overview };

struct ProjectIntakeCheck {
    QString title;
    QString detail; // may be empty
    bool operator==(const ProjectIntakeCheck&) const = default;
};

struct ProjectIntakeProgress {
    QString source;
    QString headline;
    QString detail;
    QString status;
    QList<ProjectIntakeCheck> checklist;
    QString duration;

    // `hasWebsite`: a website is part of the sources.
    static ProjectIntakeProgress of(ProjectIntakePhase phase, bool hasWebsite);
};

} // namespace halvex
