#pragma once
// Whom a chat talks to: one employee, or a team through its orchestrator.
#include "core/Service.h"

#include <optional>
#include <string>
#include <vector>

namespace service {

struct ChatTarget {
    long long userId = 0;
    bool team = false;
    std::string id;                         // the agent id, or the team slug
    std::string chatKey;                    // the conversation's key in the message store and the stream hub
    std::string speaker;                    // who answers
    std::vector<std::string> memberHandles; // teammates a team turn can hand work to
    std::vector<std::string> memberIds;     // their agent ids, in the same order
    // The scope of goals and suggestions: "agent:<id>" or "team:<slug>".
    std::string scope() const { return (team ? "team:" : "agent:") + id; }
};

std::optional<ChatTarget> agentChat(Service& s, long long uid, const std::string& agentId);
std::optional<ChatTarget> teamChat(Service& s, long long uid, const std::string& slug);

} // namespace service
