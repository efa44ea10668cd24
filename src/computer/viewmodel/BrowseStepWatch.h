#pragma once
// Tells when a chat shows new browser activity: a step whose tool works the browser (opening a
// page, the computer tool) that was not in the list before. The first list it sees is what the
// chat already had, so opening a chat with old steps is no news.
#include "chat/model/ChatMessage.h"

#include <QList>
#include <QSet>

namespace halvex {

class BrowseStepWatch {
public:
    static bool isBrowseStep(const ChatMessage& message);

    // True when `messages` holds a browse step not seen before.
    bool sawNewBrowseStep(const QList<ChatMessage>& messages);
    void reset();

private:
    bool m_primed = false;
    QSet<qint64> m_seen; // every message looked at
};

} // namespace halvex
