#pragma once
// Whom a chat talks to: one agent, or a team led by its orchestrator. `id()` keys the history
// cache and tells a stale result from a current one.
#include "agents/model/Agent.h"

#include <QString>

#include <optional>
#include <variant>

namespace halvex {

struct TeamTarget {
    QString slug;
    QString label;
    std::optional<QString> avatar;
    bool operator==(const TeamTarget&) const = default;
};

class ChatBackend {
public:
    enum class Kind { agent, team };

    static ChatBackend agent(Agent agent) { return ChatBackend(std::move(agent)); }
    static ChatBackend team(QString slug, QString label, std::optional<QString> avatar = std::nullopt)
    {
        return ChatBackend(TeamTarget{std::move(slug), std::move(label), std::move(avatar)});
    }

    Kind kind() const { return m_value.index() == 0 ? Kind::agent : Kind::team; }
    bool isAgent() const { return kind() == Kind::agent; }
    bool isTeam() const { return kind() == Kind::team; }
    // Null for the other case.
    const Agent* agentValue() const { return std::get_if<Agent>(&m_value); }
    const TeamTarget* teamValue() const { return std::get_if<TeamTarget>(&m_value); }

    // The agent's id, or "team:" and the slug.
    QString id() const;

    bool operator==(const ChatBackend&) const = default;

private:
    explicit ChatBackend(std::variant<Agent, TeamTarget> value) : m_value(std::move(value)) {}
    std::variant<Agent, TeamTarget> m_value;
};

} // namespace halvex
