// Schema step of billing: the wallet ledger in millionths of a dollar (whole numbers, so sums
// are exact), the credits runs hold while they play, and each user's plan.
#include "core/Migrations.h"

namespace service {

void createWallet(Database& db)
{
    db.script(R"sql(
    CREATE TABLE IF NOT EXISTS wallet_entries (seq INTEGER PRIMARY KEY AUTOINCREMENT, id TEXT NOT NULL UNIQUE,
        user_id INTEGER NOT NULL, type TEXT NOT NULL, amount_micro INTEGER NOT NULL,
        balance_after_micro INTEGER NOT NULL, description TEXT NOT NULL, ref TEXT, created_at INTEGER NOT NULL);
    CREATE INDEX IF NOT EXISTS wallet_entries_by_user ON wallet_entries (user_id, created_at);
    CREATE TABLE IF NOT EXISTS wallet_holds (run_id TEXT PRIMARY KEY, user_id INTEGER NOT NULL,
        amount_micro INTEGER NOT NULL, created_at INTEGER NOT NULL);
    CREATE TABLE IF NOT EXISTS user_plans (user_id INTEGER PRIMARY KEY, plan_key TEXT NOT NULL,
        changed_at INTEGER NOT NULL);
    )sql");
}

} // namespace service
