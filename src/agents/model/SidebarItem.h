#pragma once
// The rows of the sidebar: employees, teams and projects, grouped into sections per tab.
#include "agents/model/Agent.h"

#include <QList>
#include <QString>

#include <optional>

namespace halvex {

enum class SidebarTab { chat, agents, projects };

// The part of a project the sidebar shows; the project tab fills it from the project list.
struct SidebarProject {
    QString slug;
    QString label;
    std::optional<int> membersCount;
    bool operator==(const SidebarProject&) const = default;
};

struct SidebarTeam {
    QString slug;
    QString label;
    QList<Agent> members;
    bool operator==(const SidebarTeam&) const = default;
};

class SidebarItem {
public:
    enum class Kind { agent, team, project };

    static SidebarItem agentItem(Agent agent);
    static SidebarItem teamItem(SidebarTeam team);
    static SidebarItem projectItem(SidebarProject project);

    Kind kind() const { return m_kind; }
    // Valid for the matching kind only.
    const Agent& agent() const { return m_agent; }
    const SidebarTeam& team() const { return m_team; }
    const SidebarProject& project() const { return m_project; }

    // An agent's id, "team:" and the slug, or "project:" and the project slug.
    QString identity() const;

    bool operator==(const SidebarItem&) const = default;

private:
    Kind m_kind = Kind::agent;
    Agent m_agent;
    SidebarTeam m_team;
    SidebarProject m_project;
};

struct SidebarSection {
    QString id;
    std::optional<QString> title;
    QList<SidebarItem> items;
    bool operator==(const SidebarSection&) const = default;
};

} // namespace halvex
