// Schema step of accounts and sessions.
#include "core/Migrations.h"

namespace service {

void createAccounts(Database& db)
{
    db.script(R"sql(
    CREATE TABLE IF NOT EXISTS users (id INTEGER PRIMARY KEY, email TEXT UNIQUE NOT NULL, password_hash TEXT,
        full_name TEXT, time_zone TEXT, auth_provider TEXT NOT NULL DEFAULT 'password',
        company_name TEXT NOT NULL DEFAULT '', website TEXT NOT NULL DEFAULT '');
    CREATE TABLE IF NOT EXISTS sessions (token_hash TEXT PRIMARY KEY, user_id INTEGER NOT NULL, expires_at INTEGER NOT NULL);
    )sql");
}

} // namespace service
