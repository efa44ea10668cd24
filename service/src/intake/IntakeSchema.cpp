// Schema step of project intake: the website readings handed out by token.
#include "core/Migrations.h"

namespace service {

void createIntakeEvidence(Database& db)
{
    db.script(R"sql(
    CREATE TABLE IF NOT EXISTS intake_evidence (token TEXT PRIMARY KEY, user_id INTEGER NOT NULL,
        source TEXT NOT NULL, created_at INTEGER NOT NULL);
    )sql");
}

} // namespace service
