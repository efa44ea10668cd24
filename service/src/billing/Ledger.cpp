#include "billing/Ledger.h"

#include "core/Crypto.h"
#include "google/ServiceClock.h"
#include "workers/WorkerClock.h"

namespace service::billing {

using nlohmann::json;

WalletState walletState(Service& s, long long uid)
{
    WalletState w;
    w.balanceMicro = integer(
        s.db->query("SELECT coalesce(sum(amount_micro), 0) FROM wallet_entries WHERE user_id = ?", {uid}).at(0).at(0));
    w.heldMicro = integer(
        s.db->query("SELECT coalesce(sum(amount_micro), 0) FROM wallet_holds WHERE user_id = ?", {uid}).at(0).at(0));
    return w;
}

void appendEntry(Service& s, long long uid, const Entry& entry)
{
    const long long after = walletState(s, uid).balanceMicro + entry.amountMicro;
    s.db->execute("INSERT INTO wallet_entries (id, user_id, type, amount_micro, balance_after_micro, description, "
                  "ref, created_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                  {"wtx-" + randomHex(8), uid, entry.type, entry.amountMicro, after, entry.description,
                   entry.ref ? SqlValue(*entry.ref) : SqlValue(nullptr), entry.at.value_or(serviceNow(s))});
}

void recordEntry(Service& s, long long uid, const Entry& entry)
{
    s.db->transaction([&] { appendEntry(s, uid, entry); });
}

WalletState openWallet(Service& s, long long uid)
{
    WalletState w;
    s.db->transaction([&] {
        if (s.db->query("SELECT 1 FROM wallet_entries WHERE user_id = ? LIMIT 1", {uid}).empty())
            appendEntry(s, uid, {"grant", kWelcomeGrantMicro, "Welcome grant", std::nullopt, std::nullopt});
        w = walletState(s, uid);
    });
    return w;
}

void setAvailable(Service& s, long long uid, long long availableMicro)
{
    openWallet(s, uid);
    s.db->transaction([&] {
        const long long change = availableMicro - walletState(s, uid).availableMicro();
        if (change != 0)
            appendEntry(s, uid, {"grant", change, "Balance adjustment", std::nullopt, std::nullopt});
    });
}

json walletJson(const WalletState& w)
{
    return {{"balance_credits", creditsOf(w.balanceMicro)},
            {"held_credits", creditsOf(w.heldMicro)},
            {"available_credits", creditsOf(w.availableMicro())},
            {"currency", "tokens"}};
}

json recentTransactions(Service& s, long long uid, int limit)
{
    json out = json::array();
    for (const auto& r : s.db->query("SELECT id, type, amount_micro, balance_after_micro, description, created_at "
                                     "FROM wallet_entries WHERE user_id = ? ORDER BY created_at DESC, seq DESC LIMIT ?",
                                     {uid, static_cast<long long>(limit)}))
        out.push_back({{"id", text(r[0])},
                       {"type", text(r[1])},
                       {"amount_usd", usdOf(integer(r[2]))},
                       {"balance_after", usdOf(integer(r[3]))},
                       {"description", text(r[4])},
                       {"created_at", workers::isoAt(integer(r[5]))}});
    return out;
}

} // namespace service::billing
