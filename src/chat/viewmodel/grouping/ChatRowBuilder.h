#pragma once
// The message list as rows: runs of working steps fold into step groups, consecutive artifacts
// of one turn into a row of chips, everything else stays a row of its own.
#include "chat/model/ChatMessage.h"
#include "chat/viewmodel/grouping/ChatRowItem.h"
#include "chat/viewmodel/presentation/MessagePresentation.h"

#include <QList>

namespace halvex::ChatStepGrouping {

// Over orderedTurns(messages). Row ids are unique within the result.
QList<ChatRowItem> rows(const QList<ChatMessage>& messages, ChatSurface surface);

} // namespace halvex::ChatStepGrouping
