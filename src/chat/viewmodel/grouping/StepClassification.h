#pragma once
// Which messages fold into step groups: working steps still in progress, and work passed
// between agents.
#include "chat/model/ChatMessage.h"
#include "chat/viewmodel/presentation/MessagePresentation.h"

namespace halvex::ChatStepGrouping {

bool isGroupable(const ChatMessage& message, ChatSurface surface);
bool isInternalCollabEvent(const ChatMessage& message, ChatSurface surface);

// The same tests against a presentation already resolved for the message.
bool isGroupable(const ChatMessage& message, const MessagePresentation& presentation);
bool isInternalCollabEvent(const ChatMessage& message, const MessagePresentation& presentation);

bool isBrowserView(const ChatMessage& message);

} // namespace halvex::ChatStepGrouping
