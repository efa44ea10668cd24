// Schema step of the employees' computers: which browser provider each user chose.
#include "core/Migrations.h"

namespace service {

void createComputers(Database& db)
{
    db.script(R"sql(
    CREATE TABLE IF NOT EXISTS computer_providers (user_id INTEGER PRIMARY KEY, provider TEXT NOT NULL,
        updated_at TEXT NOT NULL);
    )sql");
}

} // namespace service
