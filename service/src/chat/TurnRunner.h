#pragma once
// Plays a turn's script on a thread of its own: stores each message, then publishes it to the
// chat's stream, pausing the service's pace between actions.
#include "chat/ChatTarget.h"
#include "core/Http.h"
#include "core/Service.h"

#include <string>

namespace service {

// New messages go out as "message-insert", changed ones as "message".
void publishMessage(Service& s, const std::string& chatKey, const json& message, bool inserted);

void startTurn(Service& s, const ChatTarget& target, const std::string& text);
// Continues the turn an approval request paused; `approval` is the resolved request message.
void continueAfterApproval(Service& s, const ChatTarget& target, const json& approval, bool approved);

} // namespace service
