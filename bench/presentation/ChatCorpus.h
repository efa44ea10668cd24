#pragma once
// A long chat as the service sends it: turns of tool steps, hand-offs, answers, spend lines,
// now and then an approval or an artifact.
#include "chat/model/ChatMessage.h"

#include <QList>

namespace halvex::bench {

QList<ChatMessage> chatCorpus(int messageCount);

} // namespace halvex::bench
