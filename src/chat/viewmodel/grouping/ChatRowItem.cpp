#include "chat/viewmodel/grouping/ChatRowItem.h"

namespace halvex {

namespace {

constexpr quint64 fnvOffset = 14695981039346656037ull;

// A word at a time: rows are hashed on every streamed event, and only equality within this
// process matters.
quint64 mix(quint64 hash, quint64 value)
{
    hash = (hash ^ value) * 0x9E3779B97F4A7C15ull;
    return hash ^ (hash >> 29);
}

quint64 mix(quint64 hash, const QString& text) { return mix(mix(hash, quint64(::qHash(text))), quint64(text.size())); }

quint64 mix(quint64 hash, const JSONValue& value);

quint64 mixEntries(quint64 hash, const JSONObject& object)
{
    for (auto it = object.cbegin(); it != object.cend(); ++it)
        hash = mix(mix(hash, quint64(::qHash(it.key()))), it.value());
    return hash;
}

quint64 mix(quint64 hash, const JSONValue& value)
{
    hash = mix(hash, quint64(value.kind()));
    switch (value.kind()) {
    case JSONValue::Kind::string:
        return mix(hash, quint64(::qHash(value.toString())));
    case JSONValue::Kind::number:
        return mix(hash, quint64(::qHash(value.toNumber())));
    case JSONValue::Kind::boolean:
        return mix(hash, quint64(value.toBool()));
    case JSONValue::Kind::object:
        return mixEntries(hash, value.toObject());
    case JSONValue::Kind::array:
        for (const JSONValue& element : value.toArray())
            hash = mix(hash, element);
        return hash;
    case JSONValue::Kind::null:
        return hash;
    }
    return hash;
}

// What a message row shows depends on its id, text and metadata; hashing them stays linear.
quint64 mix(quint64 hash, const ChatMessage& m)
{
    hash = mix(hash, quint64(m.id));
    hash = mix(hash, m.role);
    hash = mix(hash, quint64(::qHash(m.content)));
    // As the metadata's JSON object, without wrapping it in one.
    return mixEntries(mix(hash, quint64(JSONValue::Kind::object)), m.metadata.raw);
}

// A run's revision from its messages' revisions, in order.
quint64 runRevision(const QList<quint64>& revisions)
{
    quint64 hash = fnvOffset;
    for (const quint64 revision : revisions)
        hash = mix(hash, revision);
    return hash;
}

} // namespace

ChatRowId ChatRowId::synthetic(qint64 number, const QString& text)
{
    return {Space::synthetic, qint64(mix(mix(fnvOffset, quint64(number)), text))};
}

quint64 ChatRowItem::revisionOf(const ChatMessage& message) { return mix(fnvOffset, message); }

ChatRowItem ChatRowItem::single(ChatMessage message, quint64 revision)
{
    const ChatRowId id = ChatRowId::ofMessage(message.id);
    return ChatRowItem(std::move(message), id, revision);
}

ChatRowItem ChatRowItem::stepGroup(QList<ChatMessage> run, const QList<quint64>& revisions)
{
    Q_ASSERT(run.size() >= 2 && revisions.size() == run.size());
    // Keyed by its first step, like the single row it grew from: a streaming group keeps its id.
    const ChatRowId id = ChatRowId::ofMessage(run.first().id);
    StepGroupRow group{run.first(), run.mid(1, run.size() - 2), run.last()};
    return ChatRowItem(std::move(group), id, runRevision(revisions));
}

ChatRowItem ChatRowItem::artifactChips(QList<ChatMessage> messages, const QList<quint64>& revisions)
{
    const ChatRowId id = ChatRowId::ofMessage(messages.isEmpty() ? 0 : messages.first().id);
    return ChatRowItem(ArtifactChipsRow{std::move(messages)}, id, runRevision(revisions));
}

ChatRowItem ChatRowItem::goalReview(GoalReviewItem review)
{
    const ChatRowId id = ChatRowId::synthetic(review.version, review.goalId + u'/' + review.runId);
    quint64 revision = mix(mix(mix(fnvOffset, review.objective), review.definitionOfDone),
                           review.reviewDeadline.value_or(QString()));
    return ChatRowItem(std::move(review), id, revision);
}

QList<ChatMessage> ChatRowItem::messages() const
{
    if (const ChatMessage* m = message())
        return {*m};
    if (const StepGroupRow* g = group()) {
        QList<ChatMessage> out;
        out.reserve(g->middle.size() + 2);
        out.append(g->first);
        out.append(g->middle);
        out.append(g->last);
        return out;
    }
    if (const ArtifactChipsRow* c = chips())
        return c->messages;
    return {};
}

qsizetype ChatRowItem::messageCount() const
{
    if (message())
        return 1;
    if (const StepGroupRow* g = group())
        return g->middle.size() + 2;
    if (const ArtifactChipsRow* c = chips())
        return c->messages.size();
    return 0;
}

QList<qint64> ChatRowItem::scrollIds() const
{
    QList<qint64> ids;
    for (const ChatMessage& m : messages())
        ids.append(m.id);
    return ids;
}

} // namespace halvex
