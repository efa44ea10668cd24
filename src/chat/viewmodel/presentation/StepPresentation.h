#pragma once
// The four forms of a step card: failed, finished, an action with an outside effect, running.
#include "chat/model/ChatMessage.h"
#include "chat/viewmodel/presentation/MessagePresentation.h"
#include "chat/viewmodel/presentation/MessageSignals.h"

namespace halvex::StepPresentation {

bool isFailed(const MessageSignals& cues);
bool isFinished(const MessageSignals& cues);
bool isOutsideAction(const MessageSignals& cues);

MessagePresentation present(const ChatMessage& message, const MessageSignals& cues, ChatSurface surface);

} // namespace halvex::StepPresentation
