#include "billing/Charges.h"

#include "billing/Ledger.h"
#include "google/ServiceClock.h"

#include <algorithm>
#include <cmath>

namespace service::billing {

using nlohmann::json;

namespace {

// A charge is never negative and never beyond what one piece of work can cost.
long long chargeMicro(double usd)
{
    if (!std::isfinite(usd) || usd <= 0)
        return 0;
    return microOfUsd(std::min(usd, 1000.0));
}

Shortfall shortfall(long long requiredMicro, const WalletState& w)
{
    return {usdOf(requiredMicro), usdOf(std::max(0LL, w.availableMicro()))};
}

} // namespace

std::optional<Shortfall> turnShortfall(Service& s, long long uid)
{
    const WalletState w = openWallet(s, uid);
    const long long required = kTurnMinimumCredits * kMicroPerCredit;
    if (w.availableMicro() >= required)
        return std::nullopt;
    return shortfall(required, w);
}

void chargeTurn(Service& s, long long uid, const std::string& employee, const json& usage)
{
    const auto cost = usage.find("cost_usd");
    const long long micro = cost != usage.end() && cost->is_number() ? chargeMicro(cost->get<double>()) : 0;
    if (micro == 0)
        return;
    const std::string work = usage.value("work_id", std::string());
    recordEntry(s, uid,
                {"turn_spend", -micro, "Turn with " + employee, work.empty() ? std::nullopt : std::optional(work),
                 std::nullopt});
}

std::optional<Shortfall> holdForRun(Service& s, long long uid, const std::string& runId, long long credits)
{
    openWallet(s, uid);
    const long long micro = std::max(0LL, credits) * kMicroPerCredit;
    std::optional<Shortfall> missing;
    s.db->transaction([&] {
        s.db->execute("DELETE FROM wallet_holds WHERE run_id = ?", {runId});
        const WalletState w = walletState(s, uid);
        if (w.availableMicro() < micro) {
            missing = shortfall(micro, w);
            return;
        }
        s.db->execute("INSERT INTO wallet_holds (run_id, user_id, amount_micro, created_at) VALUES (?, ?, ?, ?)",
                      {runId, uid, micro, serviceNow(s)});
    });
    return missing;
}

void settleRun(Service& s, long long uid, const std::string& runId, double costUsd, const std::string& worker)
{
    const long long micro = chargeMicro(costUsd);
    s.db->transaction([&] {
        s.db->execute("DELETE FROM wallet_holds WHERE run_id = ? AND user_id = ?", {runId, uid});
        // Settling again (a run ended twice over a restart) charges nothing more.
        const bool settled
            = !s.db->query("SELECT 1 FROM wallet_entries WHERE ref = ? AND type = 'run_spend'", {runId}).empty();
        if (micro > 0 && !settled)
            appendEntry(s, uid, {"run_spend", -micro, "Run of " + worker, runId, std::nullopt});
    });
}

} // namespace service::billing
