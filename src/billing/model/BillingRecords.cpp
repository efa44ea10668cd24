#include "billing/model/BillingRecords.h"

#include "core/format/ServerDate.h"
#include "core/format/TokenDisplay.h"

#include <QMap>

namespace halvex {

WalletSnapshot WalletSnapshot::decode(const JsonReader& j)
{
    return {j.required<double>("balance_credits"), j.required<double>("held_credits"),
            j.required<double>("available_credits"), j.required<QString>("currency")};
}

WalletTransaction WalletTransaction::decode(const JsonReader& j)
{
    return {j.required<QString>("id"),           j.required<QString>("type"),       j.required<double>("amount_usd"),
            j.required<double>("balance_after"), j.lenient<QString>("description"), j.lenient<QString>("created_at")};
}

WalletResponse WalletResponse::decode(const JsonReader& j)
{
    return {j.required<WalletSnapshot>("wallet"),
            j.optional<QList<WalletTransaction>>("recent_transactions").value_or(QList<WalletTransaction>())};
}

PlanDefinition PlanDefinition::decode(const JsonReader& j)
{
    return {j.lenient<QString>("key"), j.lenient<QString>("name"), j.lenient<double>("price_usd"),
            j.lenient<double>("token_limit"), j.lenient<QString>("current_period_end")};
}

PlanUsage PlanUsage::decode(const JsonReader& j)
{
    return {j.lenient<double>("spent_usd"), j.lenient<double>("spent_tokens"), j.lenient<double>("token_limit"),
            j.lenient<double>("tokens_left"), j.lenient<double>("percent_used")};
}

PlanOption PlanOption::decode(const JsonReader& j)
{
    return {j.lenient<QString>("key"), j.lenient<QString>("name"), j.lenient<double>("price_usd"),
            j.lenient<double>("token_limit")};
}

UserPlanResponse UserPlanResponse::decode(const JsonReader& j)
{
    return {j.optional<PlanDefinition>("plan"), j.optional<PlanUsage>("usage"), j.optional<QList<PlanOption>>("plans")};
}

std::optional<SidebarUsageSnapshot> SidebarUsageSnapshot::make(const UserPlanResponse& answer)
{
    if (!answer.usage || !answer.usage->spentTokens)
        return std::nullopt;
    const PlanUsage& usage = *answer.usage;
    std::optional<double> limit = usage.tokenLimit;
    if (!limit && answer.plan)
        limit = answer.plan->tokenLimit;
    if (!limit || *limit <= 0)
        return std::nullopt;
    const double raw = usage.percentUsed ? *usage.percentUsed / 100.0 : *usage.spentTokens / *limit;
    SidebarUsageSnapshot s;
    s.progress = std::clamp(raw, 0.0, 1.0);
    s.spentText = QStringLiteral("spent ") + TokenDisplay::format(*usage.spentTokens * 100);
    s.limitText = TokenDisplay::format(*limit * 100) + QStringLiteral(" / mo");
    return s;
}

QList<QPair<QDate, double>> dailySpend(const QList<WalletTransaction>& transactions, QDate from, QDate to)
{
    QMap<QDate, double> byDay;
    for (const WalletTransaction& t : transactions) {
        if (t.amountUsd >= 0 || !t.createdAt)
            continue;
        std::optional<QDateTime> when = ServerDate::parseISO(*t.createdAt);
        if (!when)
            when = ServerDate::parseISOWithFraction(*t.createdAt);
        if (!when)
            continue;
        const QDate day = when->toLocalTime().date();
        if (day >= from && day <= to)
            byDay[day] += -t.amountUsd;
    }
    QList<QPair<QDate, double>> out;
    for (QDate d = from; d.isValid() && d <= to && out.size() < 62; d = d.addDays(1))
        out.append({d, byDay.value(d)});
    return out;
}

} // namespace halvex
