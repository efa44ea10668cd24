#pragma once
// The live half of the chat, held by the Service: the stream hub (and the benchmark's record
// of when events went out). Messages, goals and goal
// setups live in the database.
#include "chat/StreamHub.h"
#include "chat/StreamTimes.h"
#include "core/Http.h"
#include "core/Service.h"

#include <memory>
#include <string>

namespace service {

struct ChatRuntime {
    ChatRuntime(Faults& faults, const std::string& streamTimesPath)
        : hub(faults),
          times(streamTimesPath.empty() ? nullptr : std::make_unique<StreamTimes>(streamTimesPath))
    {}
    StreamHub hub;
    std::unique_ptr<StreamTimes> times; // only for --stream-times
};

// Created on first use at start-up, before the server takes requests.
inline ChatRuntime& chatRuntime(Service& s)
{
    if (!s.chat)
        s.chat = std::make_shared<ChatRuntime>(s.faults, s.opt.streamTimesPath);
    return *s.chat;
}

} // namespace service
