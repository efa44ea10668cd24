#pragma once
// The wallet, the plan and its usage, as the service answers them, and what the sidebar's
// meter and the billing screen's chart make of them.
#include "core/json/JsonReader.h"

#include <QDate>

namespace halvex {

struct WalletSnapshot {
    double balanceCredits = 0;
    double heldCredits = 0;
    double availableCredits = 0;
    QString currency;
    static WalletSnapshot decode(const JsonReader& json);
};

struct WalletTransaction {
    QString id;
    QString type;
    double amountUsd = 0;
    double balanceAfter = 0;
    std::optional<QString> description;
    std::optional<QString> createdAt;
    static WalletTransaction decode(const JsonReader& json);
};

struct WalletResponse {
    WalletSnapshot wallet;
    QList<WalletTransaction> recentTransactions;
    static WalletResponse decode(const JsonReader& json);
};

struct PlanDefinition {
    std::optional<QString> key, name;
    std::optional<double> priceUsd, tokenLimit;
    std::optional<QString> currentPeriodEnd;
    static PlanDefinition decode(const JsonReader& json);
};

struct PlanUsage {
    std::optional<double> spentUsd, spentTokens, tokenLimit, tokensLeft, percentUsed;
    static PlanUsage decode(const JsonReader& json);
};

struct PlanOption {
    std::optional<QString> key, name;
    std::optional<double> priceUsd, tokenLimit;
    static PlanOption decode(const JsonReader& json);
};

struct UserPlanResponse {
    std::optional<PlanDefinition> plan;
    std::optional<PlanUsage> usage;
    std::optional<QList<PlanOption>> plans;
    static UserPlanResponse decode(const JsonReader& json);
};

struct SidebarUsageSnapshot {
    QString spentText;
    QString limitText;
    double progress = 0;
    static std::optional<SidebarUsageSnapshot> make(const UserPlanResponse& answer);
};

// The spend of each day from `from` to `to` (inclusive), in US dollars, from the charges among
// `transactions` (negative amounts); days without a charge count 0.
QList<QPair<QDate, double>> dailySpend(const QList<WalletTransaction>& transactions, QDate from, QDate to);

} // namespace halvex
