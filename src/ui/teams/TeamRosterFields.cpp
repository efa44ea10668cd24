#include "ui/teams/TeamRosterFields.h"

#include "agents/model/AgentRules.h"
#include "agents/model/LlmModelCatalog.h"
#include "core/format/TokenDisplay.h"

#include <QVariantMap>

namespace halvex::TeamRosterFields {

namespace {

const TeamUsageResponse::Member* usageOf(const TeamRosterMember& member, const std::optional<TeamUsageResponse>& usage)
{
    if (!usage || !usage->members)
        return nullptr;
    for (const TeamUsageResponse::Member& row : *usage->members) {
        if (row.agentId && *row.agentId == member.id)
            return &row;
        if (row.handle && member.handle && *row.handle == *member.handle)
            return &row;
    }
    return nullptr;
}

} // namespace

QString modelLabel(const TeamRosterMember& member)
{
    const QString model = member.llmModel.value_or(QString()).trimmed();
    if (model.isEmpty())
        return QStringLiteral("Team model");
    if (const auto known = BrainCatalog::model(model))
        return known->label;
    // Members store the provider and its own model name apart.
    const QString provider = member.llmProvider.value_or(QString());
    for (const BrainModel& candidate : LlmModelCatalog::allModels())
        if (candidate.model == model && (provider.isEmpty() || candidate.provider == provider))
            return candidate.label;
    return model;
}

QString usageText(std::optional<qint64> tokens, std::optional<qint64> calls)
{
    if (!tokens)
        return {};
    QString text = TokenDisplay::format(double(*tokens));
    if (calls)
        text += *calls == 1 ? QStringLiteral(" · 1 call") : QStringLiteral(" · %1 calls").arg(*calls);
    return text;
}

QVariantList rows(const QList<TeamRosterMember>& roster, const QString& teamSlug, const QString& reviewerHandle,
                  const std::optional<TeamUsageResponse>& usage)
{
    QVariantList list;
    for (const TeamRosterMember& member : roster) {
        const TeamUsageResponse::Member* spent = usageOf(member, usage);
        list.append(QVariantMap{
            {QStringLiteral("id"), member.id},
            {QStringLiteral("name"), agent_rules::teamMemberDisplayName(member.name, teamSlug)},
            {QStringLiteral("handle"), member.handle.value_or(QString())},
            {QStringLiteral("role"), member.role.value_or(QString())},
            {QStringLiteral("model"), modelLabel(member)},
            {QStringLiteral("reviewer"), !reviewerHandle.isEmpty() && member.handle == reviewerHandle},
            {QStringLiteral("usage"), spent ? usageText(spent->tokens, spent->calls) : QString()},
        });
    }
    return list;
}

} // namespace halvex::TeamRosterFields
