#include "TeamMenu.h"

#include "TeamRosterFields.h"

#include "core/format/TokenDisplay.h"

#include <cmath>

namespace halvex {

TeamMenu::TeamMenu(QString slug, APIClient& api, QObject* parent)
    : QObject(parent), m_model(std::move(slug), api)
{
    connect(&m_model, &TeamMenuViewModel::changed, this, &TeamMenu::changed);
    connect(&m_model, &TeamMenuViewModel::unauthorized, this, &TeamMenu::unauthorized);
}

TeamMenu::~TeamMenu() { m_model.stop(); }

QVariantList TeamMenu::roster() const
{
    return TeamRosterFields::rows(m_model.roster(), m_model.reviewerHandle(), m_model.usage());
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

void TeamMenu::saveLoop(bool enabled, int iterations, int maxTokens, double maxCostUsd, int quality, bool stopOnNoImprove)
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

QString TeamMenu::diamonds(double usd) const { return TokenFormat::diamonds(usd); }

} // namespace halvex
