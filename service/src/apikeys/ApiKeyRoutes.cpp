// The user's model provider keys, listed for the model menus: a provider with a key adds its
// models to them. A new account has none.
#include "Routes.h"

#include "auth/Sessions.h"
#include "core/Http.h"

namespace service {

void addApiKeyRoutes(httplib::Server& svr, Service& s)
{
    svr.Get("/api/v2/user/api-keys", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        json keys = json::array();
        for (const auto& r : s.db->query("SELECT id, provider_slug, key_label, is_valid, created_at FROM api_keys "
                                         "WHERE user_id = ? ORDER BY created_at, rowid",
                                         {userId(*user)}))
            keys.push_back({{"id", text(r[0])},
                            {"providerSlug", text(r[1])},
                            {"keyLabel", text(r[2])},
                            {"isValid", integer(r[3]) != 0},
                            {"createdAt", text(r[4])}});
        sendJson(res, {{"api_keys", keys}});
    });
}

} // namespace service
