#pragma once
// The UTF-8 length of what a message shows: it keys the presentation cache (an extended or
// edited message resolves again) and sizes render batches.
#include "chat/model/ChatMessage.h"

#include <QStringView>

namespace halvex::ChatMessageTextLength {

// The content, or the message parts joined by a blank line when there are any.
qsizetype of(const ChatMessage& message);

// Counted without encoding; a lone surrogate counts as the three bytes of its replacement.
qsizetype utf8Length(QStringView text);

} // namespace halvex::ChatMessageTextLength
