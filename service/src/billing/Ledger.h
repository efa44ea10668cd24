#pragma once
// The wallet of each user as a ledger: every credit and charge is an entry, the balance is their
// sum. Amounts are kept in millionths of a dollar and shown in the service's token unit ◆
// (1 US dollar = 2000 ◆). Credits held by runs in flight are not available to spend.
#include "core/Http.h"
#include "core/Service.h"

#include <optional>
#include <string>

namespace service::billing {

inline constexpr long long kMicroPerUsd = 1'000'000;
inline constexpr long long kCreditsPerUsd = 2000;
inline constexpr long long kMicroPerCredit = kMicroPerUsd / kCreditsPerUsd;
// What a new account starts with.
inline constexpr long long kWelcomeGrantMicro = 5 * kMicroPerUsd;

inline double usdOf(long long micro) { return double(micro) / kMicroPerUsd; }
inline double creditsOf(long long micro) { return double(micro) / kMicroPerCredit; }
inline long long microOfUsd(double usd) { return static_cast<long long>(usd * kMicroPerUsd + (usd < 0 ? -0.5 : 0.5)); }

struct Entry {
    std::string type;          // "top_up", "turn_spend", "run_spend", "plan_change", "grant"
    long long amountMicro = 0; // negative for charges
    std::string description;
    std::optional<std::string> ref;
    std::optional<long long> at; // epoch seconds; the service clock's now when unset
};

struct WalletState {
    long long balanceMicro = 0;
    long long heldMicro = 0;
    long long availableMicro() const { return balanceMicro - heldMicro; }
};

// Appends an entry with the balance after it. Runs inside the caller's transaction.
void appendEntry(Service& s, long long uid, const Entry& entry);
// Appends an entry in a transaction of its own.
void recordEntry(Service& s, long long uid, const Entry& entry);
// The wallet now; a user without any entry is given the welcome grant first. Opens its own
// transaction, so never call it inside one.
WalletState openWallet(Service& s, long long uid);
// Balance and holds as they are, inside the caller's transaction.
WalletState walletState(Service& s, long long uid);

// Adds the entry that leaves exactly `availableMicro` available (tests that spend until refused).
void setAvailable(Service& s, long long uid, long long availableMicro);

nlohmann::json walletJson(const WalletState& w);
// The newest entries first.
nlohmann::json recentTransactions(Service& s, long long uid, int limit = 50);

} // namespace service::billing
