#pragma once
// The pure rules behind the sidebar: which agents form teams, the order of rows, the sections
// of each tab, the selection that survives a reload, and the names it proposes.
#include "agents/model/SidebarItem.h"

#include <QSet>

namespace halvex::sidebar {

// Orchestrator first, then pinned, then by name (case-insensitive, the user's locale); stable.
QList<Agent> sortedAgents(QList<Agent> agents);

// "__teams", "__employees", "__workflow", always in this order.
QList<SidebarSection> computeSections(const QList<Agent>& agents, const QSet<QString>& localModelChatIds);

QList<SidebarSection> tabbedSections(SidebarTab tab, const QList<SidebarSection>& sections,
                                     const QList<Agent>& modelChats, const QList<SidebarProject>& projects);

// Keeps `selected` when it is still listed, else the first listed identity.
std::optional<QString> repairSelection(const std::optional<QString>& selected, const QList<SidebarSection>& sections,
                                       const QList<Agent>& modelChats);

// A model chat's title from its first message: "New chat", or at most 48 characters and "…".
QString chatTitle(const QString& firstMessage);

// The name an agent takes when it joins the team `teamSlug`; empty when it has no usable name.
QString teamMemberName(const QString& agentName, const QString& teamSlug);

} // namespace halvex::sidebar
