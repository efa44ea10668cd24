// Schema step of marketplace hires: which ready-made employee became which agent of a user.
#include "core/Migrations.h"

namespace service {

void createMarketplaceHires(Database& db)
{
    db.script("CREATE TABLE IF NOT EXISTS marketplace_hires (user_id INTEGER NOT NULL, listing_id TEXT NOT NULL, "
              "agent_id TEXT NOT NULL, created_at TEXT NOT NULL, PRIMARY KEY (user_id, listing_id))");
}

} // namespace service
