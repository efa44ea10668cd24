// Schema steps of governance: mandates and calls of employees; the apps, keys, payout accounts
// and channels that connect them to the outside world. Secrets are kept sealed (SecretVault) in
// columns no answer reads.
#include "core/Migrations.h"

namespace service {

void createMandatesAndCalls(Database& db)
{
    db.script(R"sql(
    CREATE TABLE IF NOT EXISTS agent_mandates (agent_id TEXT PRIMARY KEY, user_id INTEGER NOT NULL,
        json TEXT NOT NULL, updated_at TEXT NOT NULL);
    CREATE TABLE IF NOT EXISTS voice_calls (id TEXT PRIMARY KEY, user_id INTEGER NOT NULL, agent_id TEXT NOT NULL,
        status TEXT NOT NULL, title TEXT NOT NULL, snippet TEXT NOT NULL DEFAULT '', started_at INTEGER NOT NULL,
        ended_at INTEGER, duration_secs INTEGER);
    CREATE INDEX IF NOT EXISTS voice_calls_by_agent ON voice_calls (user_id, agent_id, started_at);
    )sql");
}

void createConnections(Database& db)
{
    db.script(R"sql(
    CREATE TABLE IF NOT EXISTS connected_accounts (id TEXT PRIMARY KEY, user_id INTEGER NOT NULL,
        connector_slug TEXT NOT NULL, auth_kind TEXT NOT NULL, status TEXT NOT NULL, display_name TEXT NOT NULL,
        username TEXT NOT NULL DEFAULT '', sealed_credentials TEXT, last_validated_at TEXT, error_message TEXT,
        created_at TEXT NOT NULL);
    CREATE TABLE IF NOT EXISTS payment_accounts (id TEXT PRIMARY KEY, user_id INTEGER NOT NULL,
        provider TEXT NOT NULL, label TEXT NOT NULL, currency TEXT NOT NULL, is_valid INTEGER NOT NULL DEFAULT 1,
        created_at TEXT NOT NULL);
    CREATE TABLE IF NOT EXISTS external_api_keys (id TEXT PRIMARY KEY, user_id INTEGER NOT NULL, slug TEXT NOT NULL,
        sealed_key TEXT NOT NULL, is_valid INTEGER NOT NULL DEFAULT 1, last_used_at TEXT, created_at TEXT NOT NULL,
        UNIQUE (user_id, slug));
    CREATE TABLE IF NOT EXISTS agent_channels (id TEXT PRIMARY KEY, user_id INTEGER NOT NULL, agent_id TEXT NOT NULL,
        kind TEXT NOT NULL, channel_type TEXT NOT NULL, address TEXT NOT NULL, status TEXT NOT NULL,
        display_name TEXT NOT NULL, bot_username TEXT, connected_account_id TEXT, error_message TEXT,
        metadata TEXT NOT NULL, sealed_credentials TEXT, created_at TEXT NOT NULL,
        UNIQUE (agent_id, kind), UNIQUE (kind, address));
    )sql");
}

} // namespace service
