#pragma once
// Summarises the messages of one step group as a reasoning card.
#include "chat/model/ChatMessage.h"
#include "chat/viewmodel/grouping/ReasoningCard.h"
#include "chat/viewmodel/presentation/MessagePresentation.h"

#include <QList>

namespace halvex::ChatStepGrouping {

// `live` is true while the chat is still working: only then can a stage be running.
ReasoningCardModel reasoningCard(const QList<ChatMessage>& messages, ChatSurface surface, bool live);

// One stage per message, before merging repeats.
ReasoningStage stageFor(const ChatMessage& message, ChatSurface surface, bool live);

// A folded card shows at most this many stages.
inline constexpr int foldedStageLimit = 4;

} // namespace halvex::ChatStepGrouping
