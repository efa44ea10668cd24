// Schema step of model provider keys. Only their labels and state are kept here; the secret
// itself never comes back out of the service.
#include "core/Migrations.h"

namespace service {

void createApiKeys(Database& db)
{
    db.script("CREATE TABLE IF NOT EXISTS api_keys (id TEXT PRIMARY KEY, user_id INTEGER NOT NULL, provider_slug TEXT "
              "NOT NULL, "
              "key_label TEXT NOT NULL, is_valid INTEGER NOT NULL DEFAULT 1, created_at TEXT NOT NULL)");
}

} // namespace service
