#include "ui/settings/BillingSettings.h"

#include "core/async/Clock.h"
#include "core/format/SettingsDate.h"
#include "core/format/TokenDisplay.h"
#include "core/format/TokenFormat.h"

#include <QLocale>

namespace halvex {

namespace {

QString tokens(double credits) { return TokenDisplay::format(credits); }

} // namespace

BillingSettings::BillingSettings(APIClient& api, Clock& clock, QObject* parent)
    : QObject(parent),
      m_clock(clock),
      m_wallet(api),
      m_plan(api),
      m_topUp(api.url(QStringLiteral("store/top-up"))),
      m_planPage(api.url(QStringLiteral("store/plans")))
{
    connect(&m_wallet, &WalletViewModel::changed, this, &BillingSettings::changed);
    connect(&m_plan, &PlanSettingsModel::changed, this, &BillingSettings::changed);
}

void BillingSettings::load()
{
    m_wallet.load();
    m_plan.load();
}

QString BillingSettings::available() const
{
    return m_wallet.wallet() ? tokens(m_wallet.wallet()->availableCredits) : QString();
}
QString BillingSettings::balance() const
{
    return m_wallet.wallet() ? tokens(m_wallet.wallet()->balanceCredits) : QString();
}
QString BillingSettings::held() const { return m_wallet.wallet() ? tokens(m_wallet.wallet()->heldCredits) : QString(); }

QString BillingSettings::planName() const
{
    const auto& p = m_plan.plan();
    return p && p->plan ? p->plan->name.value_or(p->plan->key.value_or(QString())) : QString();
}

QString BillingSettings::used() const
{
    const auto& p = m_plan.plan();
    return p && p->usage && p->usage->spentTokens ? tokens(*p->usage->spentTokens * 100) : QString();
}

QString BillingSettings::left() const
{
    const auto& p = m_plan.plan();
    return p && p->usage && p->usage->tokensLeft ? tokens(*p->usage->tokensLeft * 100) : QString();
}

double BillingSettings::percent() const
{
    const auto& p = m_plan.plan();
    return p && p->usage && p->usage->percentUsed ? *p->usage->percentUsed : -1;
}

QString BillingSettings::percentText() const
{
    const double pct = percent();
    return pct < 0 ? QString() : QString::number(qRound(pct));
}

QString BillingSettings::periodEnd() const
{
    const auto& p = m_plan.plan();
    return p && p->plan && p->plan->currentPeriodEnd ? SettingsDate::shortText(p->plan->currentPeriodEnd) : QString();
}

QVariantList BillingSettings::spendByDay() const
{
    const QDate today = m_clock.now().toLocalTime().date();
    const auto days = dailySpend(m_wallet.transactions(), today.addDays(-29), today);
    double most = 0;
    for (const auto& [day, usd] : days)
        most = qMax(most, usd);
    QVariantList out;
    for (const auto& [day, usd] : days)
        out << QVariantMap{{QStringLiteral("day"), day},
                           {QStringLiteral("label"), QLocale().toString(day, QStringLiteral("d MMM"))},
                           {QStringLiteral("usd"), usd},
                           {QStringLiteral("tokens"), TokenFormat::diamonds(usd)},
                           {QStringLiteral("ratio"), most > 0 ? usd / most : 0.0}};
    return out;
}

QVariantList BillingSettings::transactions() const
{
    QVariantList out;
    for (const WalletTransaction& t : m_wallet.transactions())
        out << QVariantMap{{QStringLiteral("title"), t.description.value_or(t.type)},
                           {QStringLiteral("amount"),
                            (t.amountUsd < 0 ? QStringLiteral("− ") : QStringLiteral("+ "))
                                + TokenFormat::diamonds(std::abs(t.amountUsd))},
                           {QStringLiteral("credit"), t.amountUsd >= 0},
                           {QStringLiteral("when"), SettingsDate::shortText(t.createdAt)},
                           {QStringLiteral("balance"), TokenFormat::diamonds(t.balanceAfter)}};
    return out;
}

} // namespace halvex
