// Schema step of team settings; the teams themselves are employees sharing a group label.
#include "core/Migrations.h"

namespace service {

void createTeamSettings(Database& db)
{
    db.script("CREATE TABLE IF NOT EXISTS team_settings (user_id INTEGER NOT NULL, slug TEXT NOT NULL, "
              "reviewer_handle TEXT NOT NULL DEFAULT '', handoff_depth INTEGER NOT NULL DEFAULT 0, loop TEXT, "
              "budget_usd_month REAL, team_avatar TEXT, team_pinned INTEGER NOT NULL DEFAULT 0, "
              "team_directive TEXT, reply_language TEXT, approval_gate INTEGER NOT NULL DEFAULT 0, PRIMARY KEY "
              "(user_id, slug))");
}

} // namespace service
