#pragma once
// The events of a turn as the stream delivers them: a request, two tool steps and an answer
// with a list and a table, in that order, over and over.
#include "agents/model/Agent.h"
#include "chat/model/ChatMessage.h"

namespace halvex::bench {

// Answers alike share one rendering, as a warm cache sees a chat; numbered ones render each.
enum class AnswerText { alike, numbered };

ChatMessage streamEvent(qint64 id, int turnStep, AnswerText answers = AnswerText::alike);
Agent benchAgent();

} // namespace halvex::bench
