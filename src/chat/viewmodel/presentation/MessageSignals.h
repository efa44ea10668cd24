#pragma once
// What the presentation rules read from a message, gathered once per resolution.
#include "chat/model/ChatMessage.h"

#include <QString>

namespace halvex {

struct MessageSignals {
    QString kind;   // metadata "kind", empty when absent
    QString status; // metadata "status", empty when absent
    QString tool;   // MessageMetadata::toolIdentifier, empty when absent
    QString body;   // message parts joined by a blank line, else the content; cleaned

    static MessageSignals of(const ChatMessage& message);
};

// The message parts joined by a blank line when there are any, otherwise the content.
QString rawMessageText(const ChatMessage& message);

} // namespace halvex
