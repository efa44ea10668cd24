#pragma once
// The preview of a table or note an agent produced in the chat, opened from its chip: the table's
// first rows with the full row count, or the note. Opening another artifact supersedes the one
// loading; closing drops a late answer.
#include "chat/model/ChatArtifactReference.h"
#include "chat/service/ChatArtifactService.h"
#include "core/async/LatestOnly.h"

#include <QObject>

#include <qcorotask.h>

#include <optional>

namespace halvex {

struct NotePreview {
    QString title;
    QString body;
    std::optional<QString> updatedAt;
};

class ArtifactPreviewModel : public QObject {
    Q_OBJECT
public:
    enum class State { closed, loading, table, note, failed };

    explicit ArtifactPreviewModel(APIClient& api, QObject* parent = nullptr);

    // A table or note with an id can be previewed; other artifacts open their address.
    static bool canPreview(const ChatArtifactReference& artifact);
    static std::optional<QString> artifactId(const ChatArtifactReference& artifact);

    State state() const { return m_state; }
    // The artifact's name while loading and after; the table's or note's own once loaded.
    QString title() const { return m_title; }
    const std::optional<ChatTablePreview>& table() const { return m_table; }
    const std::optional<NotePreview>& note() const { return m_note; }
    QString error() const { return m_error; }

    // `agentId` owns the artifact (the chat's agent, or the teammate in a team chat).
    QCoro::Task<void> open(ChatArtifactReference artifact, QString agentId);
    void close();

    static NotePreview noteFrom(const JSONObject& record);

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    void setState(State state);

    ChatArtifactService m_service;
    LatestOnly m_load;
    State m_state = State::closed;
    QString m_title;
    std::optional<ChatTablePreview> m_table;
    std::optional<NotePreview> m_note;
    QString m_error;
};

} // namespace halvex
