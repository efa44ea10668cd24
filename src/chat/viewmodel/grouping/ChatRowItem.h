#pragma once
// One visual row of a chat. Rows are rebuilt from the message list on every change, so each
// carries an id that survives rebuilding (a list model matches rows by it) and a revision that
// changes only when what the row shows changes (the model then signals just that row).
#include "chat/model/ChatMessage.h"
#include "projects/model/GoalReviewItem.h"

#include <QHashFunctions>
#include <QList>
#include <QString>

#include <variant>

namespace halvex {

struct ChatRowId {
    enum class Space : quint8 { message, synthetic };
    Space space = Space::message;
    qint64 value = 0;

    static ChatRowId ofMessage(qint64 messageId) { return {Space::message, messageId}; }
    // For rows with no message of their own; the same inputs always give the same id.
    static ChatRowId synthetic(qint64 number, const QString& text);

    bool operator==(const ChatRowId&) const = default;
};

inline size_t qHash(const ChatRowId& id, size_t seed = 0) { return qHashMulti(seed, quint8(id.space), id.value); }

struct StepGroupRow {
    ChatMessage first;
    QList<ChatMessage> middle;
    ChatMessage last;
    bool operator==(const StepGroupRow&) const = default;
};

struct ArtifactChipsRow {
    QList<ChatMessage> messages;
    bool operator==(const ArtifactChipsRow&) const = default;
};

class ChatRowItem {
public:
    enum class Kind { single, stepGroup, artifactChips, goalReview };

    // Each with its messages' revisions (`revisionOf` each, in order), which the grouping keeps
    // between events: a streaming turn is grouped again on every one, its older messages unchanged.
    static ChatRowItem single(ChatMessage message, quint64 revision);
    // A run of two or more messages.
    static ChatRowItem stepGroup(QList<ChatMessage> run, const QList<quint64>& revisions);
    static ChatRowItem artifactChips(QList<ChatMessage> messages, const QList<quint64>& revisions);

    // What a message row shows, hashed: its id, text and metadata.
    static quint64 revisionOf(const ChatMessage& message);
    static ChatRowItem goalReview(GoalReviewItem review);

    Kind kind() const { return Kind(m_content.index()); }
    ChatRowId id() const { return m_id; }
    quint64 revision() const { return m_revision; }

    const ChatMessage* message() const { return std::get_if<ChatMessage>(&m_content); }
    const StepGroupRow* group() const { return std::get_if<StepGroupRow>(&m_content); }
    const ArtifactChipsRow* chips() const { return std::get_if<ArtifactChipsRow>(&m_content); }
    const GoalReviewItem* review() const { return std::get_if<GoalReviewItem>(&m_content); }

    // The messages the row covers, in order (none for a goal review).
    QList<ChatMessage> messages() const;
    qsizetype messageCount() const;
    // The ids the screen scrolls and anchors by.
    QList<qint64> scrollIds() const;

    // Used when two rows would otherwise share an id (a message listed twice, unreadable ids).
    void reassignId(ChatRowId id) { m_id = id; }

    bool operator==(const ChatRowItem&) const = default;

private:
    using Content = std::variant<ChatMessage, StepGroupRow, ArtifactChipsRow, GoalReviewItem>;
    ChatRowItem(Content content, ChatRowId id, quint64 revision)
        : m_content(std::move(content)),
          m_id(id),
          m_revision(revision)
    {}

    Content m_content;
    ChatRowId m_id;
    quint64 m_revision = 0;
};

} // namespace halvex
