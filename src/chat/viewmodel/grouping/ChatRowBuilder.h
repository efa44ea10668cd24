#pragma once
// The message list as rows: runs of working steps fold into step groups, consecutive artifacts
// of one turn into a row of chips, everything else stays a row of its own.
#include "chat/model/ChatMessage.h"
#include "chat/viewmodel/grouping/ChatRowItem.h"
#include "chat/viewmodel/presentation/MessagePresentation.h"

#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace halvex::ChatStepGrouping {

// What row building needs to know of each message, resolved once.
struct RowClassification {
    bool foldable = false; // groupable or an internal collaboration event
    bool isArtifact = false;
    bool browserView = false; // isBrowserView: never folded, ends a run
    std::optional<QString> turn;
    quint64 revision = 0; // ChatRowItem::revisionOf the message
};

// The classifications of one grouping, for the next grouping of mostly the same messages: each
// costs presentation lookups, and a streaming turn is grouped again on every event. Kept for the
// messages of the last grouping only.
class RowClassifications {
public:
    // Groupings of more messages (a whole chat) are neither remembered nor helped.
    static constexpr qsizetype sizeLimit = 200;

    // The message's classification, from the last grouping when it is the very same message.
    RowClassification of(const ChatMessage& message, ChatSurface surface);
    // Keeps what `of` answered since the last call, drops the rest.
    void settle();

private:
    struct Known {
        ChatMessage message;
        RowClassification classification;
    };
    ChatSurface m_surface = ChatSurface::solo;
    // In the order asked: a turn grouped again asks for the same messages in the same places, so
    // each is looked for where it stood last time first. Kept between groupings, capacity and all.
    std::vector<Known> m_last;
    std::vector<Known> m_current;
    qsizetype m_shift = 0;
};

// Over orderedTurns(messages). Row ids are unique within the result.
QList<ChatRowItem> rows(const QList<ChatMessage>& messages, ChatSurface surface);
// The same, taking unchanged messages' classifications from `known` and leaving this grouping's
// there.
QList<ChatRowItem> rows(const QList<ChatMessage>& messages, ChatSurface surface, RowClassifications& known);

} // namespace halvex::ChatStepGrouping
