#include "agents/model/SidebarSections.h"
#include "core/format/Characters.h"

#include "agents/model/AgentRules.h"
#include "core/format/GroupSlug.h"

#include <QCollator>
#include <QRegularExpression>

#include <algorithm>

namespace halvex::sidebar {
namespace {

bool isTrue(const std::optional<bool>& flag) { return flag.value_or(false); }

QString normalizedLabel(const QString& raw)
{
    static const QRegularExpression whitespace(QStringLiteral("\\s+"));
    QString label = raw.trimmed();
    label.replace(whitespace, QStringLiteral(" "));
    return label;
}

} // namespace

QList<Agent> sortedAgents(QList<Agent> agents)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(agents.begin(), agents.end(), [&](const Agent& a, const Agent& b) {
        if (isTrue(a.isOrchestrator) != isTrue(b.isOrchestrator))
            return isTrue(a.isOrchestrator);
        if (isTrue(a.pinned) != isTrue(b.pinned))
            return isTrue(a.pinned);
        return collator.compare(a.name, b.name) < 0;
    });
    return agents;
}

QList<SidebarSection> computeSections(const QList<Agent>& agents, const QSet<QString>& localModelChatIds)
{
    QList<Agent> candidates;
    for (const Agent& agent : agent_rules::visibleAgents(agents)) {
        const bool modelChat = agent.presetKind == QStringLiteral("model_chat") || localModelChatIds.contains(agent.id);
        if (!isTrue(agent.isOrchestrator) && !modelChat)
            candidates.append(agent);
    }
    if (candidates.isEmpty())
        return {};

    QStringList labels;
    for (const Agent& agent : candidates)
        if (agent.agentGroup && !agent.agentGroup->isEmpty() && !labels.contains(*agent.agentGroup))
            labels.append(*agent.agentGroup);

    QList<SidebarTeam> pinnedTeams;
    QList<SidebarTeam> otherTeams;
    QSet<QString> teamed;
    for (const QString& label : labels) {
        const QString normalized = normalizedLabel(label);
        if (normalized.isEmpty())
            continue;
        const QString slug = GroupSlug::slug(leftCharacters(normalized, 80));
        const QString suffix = QLatin1Char('-') + slug;
        QList<Agent> members;
        for (const Agent& agent : candidates)
            if (agent.agentGroup == label)
                members.append(agent);
        const bool followsNaming = std::all_of(members.begin(), members.end(), [&](const Agent& member) {
            return member.name.toLower().endsWith(suffix);
        });
        if (!followsNaming)
            continue;
        for (const Agent& member : members)
            teamed.insert(member.id);
        const bool allPinned
            = std::all_of(members.begin(), members.end(), [](const Agent& m) { return isTrue(m.pinned); });
        (allPinned ? pinnedTeams : otherTeams).append(SidebarTeam{slug, label, members});
    }

    const auto byLabel = [](const SidebarTeam& a, const SidebarTeam& b) { return a.label < b.label; };
    std::stable_sort(pinnedTeams.begin(), pinnedTeams.end(), byLabel);
    std::stable_sort(otherTeams.begin(), otherTeams.end(), byLabel);

    QList<Agent> employees;
    QList<Agent> workers;
    for (const Agent& agent : candidates) {
        if (teamed.contains(agent.id))
            continue;
        (agent.agentType == QStringLiteral("worker") ? workers : employees).append(agent);
    }

    SidebarSection teams{QStringLiteral("__teams"), QStringLiteral("Teams"), {}};
    for (const auto& team : pinnedTeams + otherTeams)
        teams.items.append(SidebarItem::teamItem(team));
    SidebarSection employeeSection{QStringLiteral("__employees"), QStringLiteral("Employees"), {}};
    for (const auto& agent : sortedAgents(employees))
        employeeSection.items.append(SidebarItem::agentItem(agent));
    SidebarSection workflow{QStringLiteral("__workflow"), QStringLiteral("Workflow"), {}};
    for (const auto& agent : sortedAgents(workers))
        workflow.items.append(SidebarItem::agentItem(agent));
    return {teams, employeeSection, workflow};
}

QList<SidebarSection> tabbedSections(SidebarTab tab, const QList<SidebarSection>& sections,
                                     const QList<Agent>& modelChats, const QList<SidebarProject>& projects)
{
    switch (tab) {
    case SidebarTab::chat: {
        if (modelChats.isEmpty())
            return {};
        SidebarSection chats{QStringLiteral("__chats"), QStringLiteral("Chats"), {}};
        for (const Agent& chat : modelChats)
            chats.items.append(SidebarItem::agentItem(chat));
        return {chats};
    }
    case SidebarTab::agents: {
        QList<SidebarSection> result;
        for (const auto& section : sections)
            if (section.id != QLatin1String("__orch"))
                result.append(section);
        return result;
    }
    case SidebarTab::projects: {
        if (projects.isEmpty())
            return {};
        SidebarSection list{QStringLiteral("__projects"), QStringLiteral("Projects"), {}};
        for (const auto& project : projects)
            list.items.append(SidebarItem::projectItem(project));
        return {list};
    }
    }
    return {};
}

std::optional<QString> repairSelection(const std::optional<QString>& selected, const QList<SidebarSection>& sections,
                                       const QList<Agent>& modelChats)
{
    QStringList identities;
    for (const auto& section : sections)
        for (const auto& item : section.items)
            identities.append(item.identity());
    for (const Agent& chat : modelChats)
        identities.append(chat.id);
    if (selected && identities.contains(*selected))
        return selected;
    if (identities.isEmpty())
        return std::nullopt;
    return identities.first();
}

QString chatTitle(const QString& firstMessage)
{
    static const QRegularExpression lineBreak(QStringLiteral("[\\n\\r\\x{000B}\\x{000C}\\x{0085}\\x{2028}\\x{2029}]"));
    QString line;
    for (const QString& candidate : firstMessage.split(lineBreak)) {
        if (!candidate.trimmed().isEmpty()) {
            line = candidate.trimmed();
            break;
        }
    }
    if (line.isEmpty())
        return QStringLiteral("New chat");
    if (characterCount(line) >= 49)
        return leftCharacters(line, 48).trimmed() + QStringLiteral("…");
    return line;
}

QString teamMemberName(const QString& agentName, const QString& teamSlug)
{
    const QString base = GroupSlug::slug(agentName);
    if (base.isEmpty())
        return {};
    const QString suffix = QLatin1Char('-') + teamSlug;
    if (base.endsWith(suffix) && base.size() > suffix.size())
        return base;
    return base + suffix;
}

} // namespace halvex::sidebar
