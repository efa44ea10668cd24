#pragma once
// Keeps "load older" from fetching the same page twice: one page in flight at a time, and a
// page that already arrived is not asked for again.
#include "chat/model/ChatMessage.h"

#include <QList>

#include <optional>

namespace halvex {

struct ChatHistoryPageGate {
    std::optional<qint64> activeBefore;        // bound of the older-page request in flight
    std::optional<qint64> lastCompletedBefore; // bound of the last one that succeeded

    // The id of the first message with a server id (optimistic and unreadable ids skipped).
    static std::optional<qint64> pagingBound(const QList<ChatMessage>& messages);

    // The bound to request now, marking it in flight; nullopt when no request should start.
    std::optional<qint64> begin(const QList<ChatMessage>& messages);
    // Call when the request for `bound` ends (only if the caller still shows the same chat).
    void finish(qint64 bound, bool succeeded);

    bool operator==(const ChatHistoryPageGate&) const = default;
};

} // namespace halvex
