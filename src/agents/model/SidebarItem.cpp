#include "agents/model/SidebarItem.h"

namespace halvex {

SidebarItem SidebarItem::agentItem(Agent agent)
{
    SidebarItem item;
    item.m_kind = Kind::agent;
    item.m_agent = std::move(agent);
    return item;
}

SidebarItem SidebarItem::teamItem(SidebarTeam team)
{
    SidebarItem item;
    item.m_kind = Kind::team;
    item.m_team = std::move(team);
    return item;
}

SidebarItem SidebarItem::projectItem(SidebarProject project)
{
    SidebarItem item;
    item.m_kind = Kind::project;
    item.m_project = std::move(project);
    return item;
}

QString SidebarItem::identity() const
{
    switch (m_kind) {
    case Kind::agent:
        return m_agent.id;
    case Kind::team:
        return QStringLiteral("team:") + m_team.slug;
    case Kind::project:
        return QStringLiteral("project:") + m_project.slug;
    }
    return {};
}

} // namespace halvex
