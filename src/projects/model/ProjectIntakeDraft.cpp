#include "projects/model/ProjectIntakeDraft.h"

#include "core/json/JsonWrite.h"
#include "core/prefs/Preferences.h"

namespace halvex {

namespace {

const QStringList kSteps{QStringLiteral("about"), QStringLiteral("questions"), QStringLiteral("review"),
                         QStringLiteral("people")};

} // namespace

JSONObject ProjectIntakeDraft::encode() const
{
    QStringList dirty(dirtyFields.cbegin(), dirtyFields.cend());
    dirty.sort();
    JSONObject o{{QStringLiteral("schemaVersion"), schemaVersion},
                 // Milliseconds since the epoch: exact, and free of any time zone.
                 {QStringLiteral("updatedAt"), updatedAt.toMSecsSinceEpoch()},
                 {QStringLiteral("step"), step},
                 {QStringLiteral("label"), label},
                 {QStringLiteral("website"), website},
                 {QStringLiteral("description"), description},
                 {QStringLiteral("links"), links},
                 {QStringLiteral("questions"), toJSON(questions)},
                 {QStringLiteral("questionGroup"), questionGroup},
                 {QStringLiteral("answers"), toJSON(answers)},
                 {QStringLiteral("needsInput"), toJSON(needsInput)},
                 {QStringLiteral("dirtyFields"), toJSON(dirty)},
                 {QStringLiteral("creationRequestID"), creationRequestID}};
    if (source)
        o.insert(QStringLiteral("source"), source->payload());
    insertIfPresent(o, "overview", overview);
    return o;
}

ProjectIntakeDraft ProjectIntakeDraft::decode(const JsonReader& json)
{
    ProjectIntakeDraft d;
    d.schemaVersion = json.required<int>("schemaVersion");
    d.updatedAt = QDateTime::fromMSecsSinceEpoch(json.required<qint64>("updatedAt"), Qt::UTC);
    d.step = json.required<QString>("step");
    if (!kSteps.contains(d.step))
        throw APIError::decoding(QStringLiteral("step: not a step of the intake"));
    d.label = json.required<QString>("label");
    d.website = json.required<QString>("website");
    d.description = json.required<QString>("description");
    d.links = json.required<QString>("links");
    d.source = json.optional<ProjectIntakeSource>("source");
    d.questions = json.required<QList<ProjectIntakeQuestion>>("questions");
    d.questionGroup = json.required<int>("questionGroup");
    d.answers = json.required<QMap<QString, QString>>("answers");
    d.overview = json.optional<ProjectOverview>("overview");
    d.needsInput = json.required<QStringList>("needsInput");
    const QStringList dirty = json.required<QStringList>("dirtyFields");
    d.dirtyFields = QSet<QString>(dirty.cbegin(), dirty.cend());
    d.creationRequestID = json.required<QString>("creationRequestID");
    return d;
}

namespace ProjectIntakeDraftStore {

void save(ProjectIntakeDraft draft, Preferences& preferences, const QDateTime& now)
{
    draft.updatedAt = now;
    preferences.setValue(key, QString::fromUtf8(encodeJSONObject(draft.encode())));
}

std::optional<ProjectIntakeDraft> load(Preferences& preferences, const QDateTime& now)
{
    const QString text = preferences.value(key).toString();
    if (text.isEmpty())
        return std::nullopt;
    std::optional<ProjectIntakeDraft> draft;
    try {
        draft = decodeJSON<ProjectIntakeDraft>(text.toUtf8());
    } catch (const APIError&) {}
    const qint64 ageMs = draft ? draft->updatedAt.msecsTo(now) : -1;
    if (!draft || draft->schemaVersion != ProjectIntakeDraft::currentSchema || ageMs < 0
        || ageMs > maxAgeSeconds * 1000) {
        remove(preferences);
        return std::nullopt;
    }
    return draft;
}

void remove(Preferences& preferences) { preferences.remove(key); }

} // namespace ProjectIntakeDraftStore

} // namespace halvex
