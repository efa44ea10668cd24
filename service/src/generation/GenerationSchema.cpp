// Schema step of generation jobs: one row per job, keyed by the session id the app chose.
#include "core/Migrations.h"

namespace service {

void createGenerationJobs(Database& db)
{
    db.script(
        "CREATE TABLE IF NOT EXISTS generation_jobs (user_id INTEGER NOT NULL, id TEXT NOT NULL, kind TEXT NOT NULL, "
        "outcome TEXT NOT NULL, polls INTEGER NOT NULL DEFAULT 0, started_at INTEGER NOT NULL, result TEXT, "
        "created_at TEXT NOT NULL, PRIMARY KEY (user_id, id))");
}

} // namespace service
