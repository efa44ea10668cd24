#pragma once
// The intake kept on this machine, so that an interrupted intake survives a restart. It lives
// from the first step until the project is created, and for at most a week.
#include "projects/model/ProjectIntakeRecords.h"

#include <QDateTime>
#include <QMap>
#include <QSet>

namespace halvex {

class Preferences;

struct ProjectIntakeDraft {
    static constexpr int currentSchema = 1;

    int schemaVersion = currentSchema;
    QDateTime updatedAt;
    QString step = QStringLiteral("about"); // "about", "questions", "review" or "people"
    QString label;
    QString website;
    QString description;
    QString links; // one per line
    std::optional<ProjectIntakeSource> source;
    QList<ProjectIntakeQuestion> questions;
    int questionGroup = 0;
    QMap<QString, QString> answers; // question key to answer
    std::optional<ProjectOverview> overview;
    QStringList needsInput;
    QSet<QString> dirtyFields; // field keys the user edited
    QString creationRequestID;

    JSONObject encode() const;
    static ProjectIntakeDraft decode(const JsonReader& json);
    bool operator==(const ProjectIntakeDraft&) const = default;
};

namespace ProjectIntakeDraftStore {

inline const QString key = QStringLiteral("tessal.project-intake-draft.v1");
inline constexpr qint64 maxAgeSeconds = 604'800; // seven days

// Stamps `draft` with `now` and writes it.
void save(ProjectIntakeDraft draft, Preferences& preferences, const QDateTime& now);
// The kept draft; one that does not decode, has another schema, comes from the future or is
// older than a week is removed and gives nothing.
std::optional<ProjectIntakeDraft> load(Preferences& preferences, const QDateTime& now);
void remove(Preferences& preferences);

} // namespace ProjectIntakeDraftStore

} // namespace halvex
