#include "ui/teams/TeamMenu.h"

#include "ui/teams/TeamRosterFields.h"

#include "agents/model/LlmModelCatalog.h"
#include "core/format/TokenDisplay.h"

#include <cmath>

namespace halvex {

TeamMenu::TeamMenu(QString slug, APIClient& api, QObject* parent) : QObject(parent), m_model(std::move(slug), api)
{
    connect(&m_model, &TeamMenuViewModel::changed, this, &TeamMenu::changed);
    connect(&m_model, &TeamMenuViewModel::unauthorized, this, &TeamMenu::unauthorized);
    connect(&m_model, &TeamMenuViewModel::membersChanged, this, &TeamMenu::membersChanged);
}

TeamMenu::~TeamMenu() { m_model.stop(); }

QVariantList TeamMenu::roster() const
{
    return TeamRosterFields::rows(m_model.roster(), m_model.slug(), m_model.reviewerHandle(), m_model.usage());
}

qint64 TeamMenu::budgetTokens() const
{
    return qint64(std::llround(m_model.budgetUsd() * TeamMenuViewModel::tokensPerUsd));
}

QString TeamMenu::budgetText() const { return TokenFormat::diamonds(m_model.budgetUsd()); }

QString TeamMenu::monthSpendText() const { return TokenFormat::diamonds(m_model.monthSpendUsd()); }

QString TeamMenu::usageTotalText() const
{
    const std::optional<TeamUsageResponse> usage = m_model.usage();
    if (!usage || !usage->total)
        return {};
    return TeamRosterFields::usageText(usage->total->tokens, usage->total->calls);
}

void TeamMenu::open()
{
    m_model.hydrateIfNeeded();
    m_model.loadUsage();
}

void TeamMenu::saveReviewer(const QString& handle) { m_model.saveReviewer(handle); }

void TeamMenu::saveHandoffDepth(int depth) { m_model.saveHandoffDepth(depth); }

void TeamMenu::saveLoop(bool enabled, int iterations, int maxTokens, double maxCostUsd, int quality,
                        bool stopOnNoImprove)
{
    m_model.saveLoop(LoopToolConfig{enabled, iterations, maxTokens, maxCostUsd, quality, stopOnNoImprove});
}

void TeamMenu::saveBudget(const QString& tokensDraft) { m_model.saveBudget(tokensDraft); }

QString TeamMenu::hiringError() const
{
    const TeamMenuViewModel::AddMemberState state = m_model.addMemberState();
    return state.kind == TeamMenuViewModel::AddMemberState::Kind::failed ? state.text : QString();
}

void TeamMenu::addMember(const QString& brief) { m_model.addMember(brief); }

void TeamMenu::renameMember(const QString& agentId, const QString& handle) { m_model.renameMember(agentId, handle); }

void TeamMenu::removeMember(const QString& agentId) { m_model.memberAction(agentId, QStringLiteral("remove")); }

QStringList TeamMenu::modelChoices()
{
    QStringList choices{QStringLiteral("Team model")};
    for (const BrainModel& model : LlmModelCatalog::payPerUse().models)
        choices << model.label;
    return choices;
}

int TeamMenu::modelChoiceOf(const QString& agentId) const
{
    const QList<BrainModel>& models = LlmModelCatalog::payPerUse().models;
    for (const TeamRosterMember& member : m_model.roster()) {
        if (member.id != agentId)
            continue;
        for (qsizetype i = 0; i < models.size(); ++i)
            if (member.llmProvider == models[i].provider && member.llmModel == models[i].model)
                return int(i) + 1;
    }
    return 0;
}

void TeamMenu::setMemberModel(const QString& agentId, int choice)
{
    const QList<BrainModel>& models = LlmModelCatalog::payPerUse().models;
    if (choice < 0 || choice > models.size())
        return;
    m_model.setMemberModel(agentId, choice == 0 ? std::nullopt : std::optional<BrainModel>(models[choice - 1]));
}

QString TeamMenu::diamonds(double usd) const { return TokenFormat::diamonds(usd); }

} // namespace halvex
