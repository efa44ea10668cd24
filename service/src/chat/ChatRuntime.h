#pragma once
// The live half of the chat, held by the Service: the stream hub. Messages, goals and goal
// setups live in the database.
#include "chat/StreamHub.h"
#include "core/Http.h"
#include "core/Service.h"

namespace service {

struct ChatRuntime {
    explicit ChatRuntime(Faults& faults) : hub(faults) {}
    StreamHub hub;
};

// Created on first use at start-up, before the server takes requests.
inline ChatRuntime& chatRuntime(Service& s)
{
    if (!s.chat)
        s.chat = std::make_shared<ChatRuntime>(s.faults);
    return *s.chat;
}

} // namespace service
