#pragma once
// The order and merge rules of a chat's message list: server ids ascending, optimistic turns
// (negative ids) after them in the order they were sent.
#include "chat/model/ChatMessage.h"

#include <QList>

namespace halvex::MessageOrdering {

bool precedes(qint64 a, qint64 b);
void sort(QList<ChatMessage>& messages);
// A step the service shortened ("_truncated": true).
bool isTruncatedStep(const ChatMessage& message);
// Whether `incoming` may overwrite `local`: a shortened step never replaces a full one, and a
// step still running never replaces the same step settled (its insert arrived after its update).
bool mayReplace(const ChatMessage& local, const ChatMessage& incoming);
// Union by id; incoming copies win except over expanded steps; local messages outside the
// incoming page stay.
QList<ChatMessage> merge(const QList<ChatMessage>& local, QList<ChatMessage> incoming);
// The agent answered the last user turn and asked for no further tool calls; steps don't count.
bool isTurnComplete(const QList<ChatMessage>& messages);

} // namespace halvex::MessageOrdering
