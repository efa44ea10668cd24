#include "agents/model/AgentRules.h"

#include <QStringList>

namespace halvex::agent_rules {

QString kindLabel(const Agent& agent)
{
    if (agent.isOrchestrator.value_or(false))
        return QStringLiteral("Orchestrator");
    if (agent.isEmployer.value_or(false) || agent.agentType == QStringLiteral("employee"))
        return QStringLiteral("Employee");
    return QStringLiteral("Worker");
}

bool isVisible(const Agent& agent)
{
    return agent.status == QStringLiteral("active") || agent.isOrchestrator.value_or(false);
}

QList<Agent> visibleAgents(const QList<Agent>& agents)
{
    QList<Agent> out;
    for (const Agent& a : agents) {
        if (isVisible(a))
            out.append(a);
    }
    return out;
}

std::optional<Agent> orchestrator(const QList<Agent>& agents)
{
    for (const Agent& a : agents) {
        if (isVisible(a) && a.isOrchestrator.value_or(false))
            return a;
    }
    return std::nullopt;
}

QList<Agent> modelChats(const QList<Agent>& agents, const QSet<QString>& rememberedModelChatIds)
{
    QList<Agent> out;
    for (const Agent& a : agents) {
        if (isVisible(a) && (a.presetKind == QStringLiteral("model_chat") || rememberedModelChatIds.contains(a.id)))
            out.append(a);
    }
    return out;
}

QString teamMemberDisplayName(const QString& name, const QString& teamSlug)
{
    QString base = name;
    const QString suffix = u'-' + teamSlug.toLower();
    if (name.toLower().endsWith(suffix))
        base.chop(suffix.size());
    QStringList pieces = base.split(u'-', Qt::SkipEmptyParts);
    if (pieces.isEmpty())
        return name;
    for (QString& piece : pieces)
        piece[0] = piece[0].toUpper();
    return pieces.join(u' ');
}

} // namespace halvex::agent_rules
