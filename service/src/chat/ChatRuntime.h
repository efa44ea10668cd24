#pragma once
// The live half of the chat, held by the Service: the stream hub and the guided goal setups
// in progress. Messages and goals themselves live in the database.
#include "Http.h"
#include "Service.h"
#include "chat/StreamHub.h"

#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace service {

struct GoalSetup {
    long long userId = 0;
    std::string scope;
    std::string objective;
    std::optional<json> startedGoal;
};

class GoalSetups {
public:
    void put(const std::string& requestId, GoalSetup setup)
    {
        std::lock_guard guard(m_lock);
        m_setups[requestId] = std::move(setup);
    }
    std::optional<GoalSetup> find(const std::string& requestId)
    {
        std::lock_guard guard(m_lock);
        auto it = m_setups.find(requestId);
        if (it == m_setups.end()) return std::nullopt;
        return it->second;
    }

private:
    std::mutex m_lock;
    std::map<std::string, GoalSetup> m_setups;
};

struct ChatRuntime {
    explicit ChatRuntime(Faults& faults) : hub(faults) {}
    StreamHub hub;
    GoalSetups goalSetups;
};

// Created on first use at start-up, before the server takes requests.
inline ChatRuntime& chatRuntime(Service& s)
{
    if (!s.chat) s.chat = std::make_shared<ChatRuntime>(s.faults);
    return *s.chat;
}

} // namespace service
