#include "google/GoogleAccounts.h"

#include "core/Database.h"

namespace service {

long long signInOrCreateGoogleUser(Service& s, const std::string& email, const std::string& name,
                                   const std::string& timeZone)
{
    long long id = 0;
    // Looked up and created in one transaction, so two sign-ins at once make one account.
    s.db->transaction([&] {
        const auto rows = s.db->query("SELECT id FROM users WHERE lower(email) = lower(?)", {email});
        if (!rows.empty()) {
            id = integer(rows[0][0]);
            return;
        }
        id = s.db->execute("INSERT INTO users (email, password_hash, full_name, time_zone, auth_provider) VALUES (?, "
                           "NULL, ?, ?, 'google')",
                           {email, name.empty() ? SqlValue(nullptr) : SqlValue(name), timeZone});
    });
    return id;
}

} // namespace service
