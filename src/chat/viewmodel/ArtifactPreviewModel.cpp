#include "chat/viewmodel/ArtifactPreviewModel.h"

#include "core/async/Failure.h"

namespace halvex {

namespace {

std::optional<QString> nonEmptyString(const JSONObject& object, const QString& key)
{
    const JSONValue value = object.value(key);
    if (!value.isString() || value.toString().trimmed().isEmpty())
        return std::nullopt;
    return value.toString();
}

} // namespace

ArtifactPreviewModel::ArtifactPreviewModel(APIClient& api, QObject* parent) : QObject(parent), m_service(api) {}

std::optional<QString> ArtifactPreviewModel::artifactId(const ChatArtifactReference& artifact)
{
    for (const QString& key : {QStringLiteral("id"), QStringLiteral("table_id"), QStringLiteral("note_id")})
        if (auto id = nonEmptyString(artifact.payload, key))
            return id;
    return std::nullopt;
}

bool ArtifactPreviewModel::canPreview(const ChatArtifactReference& artifact)
{
    return (artifact.type == u"table" || artifact.type == u"note") && artifactId(artifact).has_value();
}

NotePreview ArtifactPreviewModel::noteFrom(const JSONObject& record)
{
    // The record may come wrapped under "note".
    const JSONValue inner = record.value(QStringLiteral("note"));
    const JSONObject& note = inner.isObject() ? inner.toObject() : record;
    NotePreview preview;
    preview.title = nonEmptyString(note, QStringLiteral("title")).value_or(QString());
    for (const QString& key : {QStringLiteral("content"), QStringLiteral("body"), QStringLiteral("text")}) {
        if (auto body = nonEmptyString(note, key)) {
            preview.body = *body;
            break;
        }
    }
    preview.updatedAt = nonEmptyString(note, QStringLiteral("updated_at"));
    return preview;
}

void ArtifactPreviewModel::setState(State state)
{
    m_state = state;
    Q_EMIT changed();
}

QCoro::Task<void> ArtifactPreviewModel::open(ChatArtifactReference artifact, QString agentId)
{
    const CancelToken token = m_load.next();
    const std::optional<QString> id = artifactId(artifact);
    m_title = artifact.name;
    m_table.reset();
    m_note.reset();
    m_error.clear();
    if (!id || !canPreview(artifact)) {
        m_error = QStringLiteral("This artifact has no preview.");
        setState(State::failed);
        co_return;
    }
    setState(State::loading);
    const QString artifactId = *id;
    try {
        if (artifact.type == u"table") {
            ChatTablePreview table = co_await m_service.table(artifactId, agentId, token);
            if (token.isCancelled())
                co_return;
            if (!table.table.name.isEmpty())
                m_title = table.table.name;
            m_table = std::move(table);
            setState(State::table);
        } else {
            const JSONObject record = co_await m_service.note(artifactId, agentId, token);
            if (token.isCancelled())
                co_return;
            NotePreview note = noteFrom(record);
            if (!note.title.isEmpty())
                m_title = note.title;
            m_note = std::move(note);
            setState(State::note);
        }
    } catch (...) {
        if (token.isCancelled())
            co_return;
        const Failure failure = Failure::of(std::current_exception());
        if (failure.route == Failure::Route::silent)
            co_return;
        if (failure.route == Failure::Route::lostSession)
            Q_EMIT unauthorized();
        m_error = failure.text;
        setState(State::failed);
    }
}

void ArtifactPreviewModel::close()
{
    m_load.cancel();
    m_table.reset();
    m_note.reset();
    m_error.clear();
    setState(State::closed);
}

} // namespace halvex
