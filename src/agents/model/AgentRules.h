#pragma once
// The derived tests the rest of the client applies to agents.
#include "agents/model/Agent.h"

#include <QList>
#include <QSet>
#include <QString>

#include <optional>

namespace halvex::agent_rules {

// "Orchestrator", "Employee" or "Worker".
QString kindLabel(const Agent& agent);
bool isVisible(const Agent& agent);
// Active agents plus every orchestrator, whatever its status; order kept.
QList<Agent> visibleAgents(const QList<Agent>& agents);
// The first visible orchestrator.
std::optional<Agent> orchestrator(const QList<Agent>& agents);
// Visible model chats: by preset kind or by the locally remembered ids.
QList<Agent> modelChats(const QList<Agent>& agents, const QSet<QString>& rememberedModelChatIds = {});
// "research-lead-growth" in team "growth" shows as "Research Lead".
QString teamMemberDisplayName(const QString& name, const QString& teamSlug);

} // namespace halvex::agent_rules
