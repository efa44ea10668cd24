#pragma once
// What work costs. A chat turn needs a small minimum available before it starts and is charged
// what its usage line reports when it ends. A worker's run holds an estimate while it plays and
// is settled at what it cost once it ends.
#include "core/Http.h"
#include "core/Service.h"

#include <optional>
#include <string>

namespace service::billing {

inline constexpr long long kTurnMinimumCredits = 20;
// A worker's run holds this much per step while it plays, and is charged per finished step.
inline constexpr long long kRunStepCredits = 20;
inline constexpr double kRunStepUsd = 0.01;
inline constexpr const char* kNotEnoughTokens = "Not enough tokens for this turn. Top up your wallet to continue.";

struct Shortfall {
    double requiredUsd = 0;
    double availableUsd = 0;
};

// Nothing when the user can afford to start a turn.
std::optional<Shortfall> turnShortfall(Service& s, long long uid);
// Charges the turn whose usage line carries "cost_usd" (a "turn_spend" entry, "Turn with <name>").
void chargeTurn(Service& s, long long uid, const std::string& employee, const nlohmann::json& usage);

// Holds `credits` for the run, or answers what is missing and holds nothing. A second hold for
// the same run replaces the first.
std::optional<Shortfall> holdForRun(Service& s, long long uid, const std::string& runId, long long credits);
// Releases the run's hold and charges what it cost ("run_spend", "Run of <worker>"); a run that
// cost nothing (cancelled before any step) only releases it.
void settleRun(Service& s, long long uid, const std::string& runId, double costUsd, const std::string& worker);

} // namespace service::billing
