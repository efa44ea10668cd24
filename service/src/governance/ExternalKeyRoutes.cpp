// The user's keys for outside APIs: one per API (adding it again replaces the key). The key is
// sealed on arrival and no answer carries it.
#include "Routes.h"

#include "auth/Sessions.h"
#include "core/Crypto.h"
#include "governance/ExternalApis.h"
#include "governance/RequestBody.h"
#include "governance/Rows.h"
#include "governance/SecretVault.h"
#include "workers/WorkerClock.h"

namespace service {

namespace {

constexpr const char* kKeys = "/api/v2/user/external-api-keys";

json keyJson(const SqlRow& r)
{
    const ExternalApi* api = findExternalApi(text(r[1]));
    return {{"id", text(r[0])},
            {"slug", text(r[1])},
            {"label", api ? api->label : text(r[1])},
            {"is_valid", integer(r[2]) != 0},
            {"suggestion_id", text(r[1])},
            {"base_url", api ? json(api->baseUrl) : json(nullptr)},
            {"last_used_at", textOrNull(r[3])},
            {"created_at", text(r[4])}};
}

void addKey(Service& s, long long uid, const httplib::Request& req, httplib::Response& res)
{
    const auto body = readSmallBody(req, res);
    if (!body)
        return;
    const auto suggestion = readText(*body, "suggestion_id", 100, res);
    const auto key = suggestion ? readText(*body, "key", 4096, res) : std::nullopt;
    if (!key)
        return;
    const ExternalApi* api = findExternalApi(*suggestion);
    if (!api)
        return sendError(res, 404, "API not found");
    if (key->empty())
        return sendError(res, 400, "A key is required.");
    const std::string sealed = sealSecret(s, *key);
    const std::string now = workers::serviceIso(s);
    s.db->transaction([&] {
        s.db->execute("DELETE FROM external_api_keys WHERE user_id = ? AND slug = ?", {uid, *suggestion});
        s.db->execute(
            "INSERT INTO external_api_keys (id, user_id, slug, sealed_key, created_at) VALUES (?, ?, ?, ?, ?)",
            {"xk-" + randomHex(8), uid, *suggestion, sealed, now});
    });
    const auto row = s.db->query("SELECT id, slug, is_valid, last_used_at, created_at FROM external_api_keys "
                                 "WHERE user_id = ? AND slug = ?",
                                 {uid, *suggestion});
    sendJson(res, {{"external_api_key", keyJson(row.at(0))}}, 201);
}

} // namespace

void addExternalKeyRoutes(httplib::Server& svr, Service& s)
{
    svr.Get(std::string(kKeys) + "/catalog", [&](const httplib::Request& req, httplib::Response& res) {
        if (!requireUser(s, req, res))
            return;
        json entries = json::array();
        for (const ExternalApi& api : externalApis())
            entries.push_back(externalApiJson(api));
        sendJson(res, {{"entries", entries}});
    });
    svr.Get(kKeys, [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        json keys = json::array();
        for (const auto& r : s.db->query("SELECT id, slug, is_valid, last_used_at, created_at FROM external_api_keys "
                                         "WHERE user_id = ? ORDER BY created_at, rowid",
                                         {userId(*user)}))
            keys.push_back(keyJson(r));
        sendJson(res, {{"external_api_keys", keys}});
    });
    svr.Post(kKeys, [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (user)
            addKey(s, userId(*user), req, res);
    });
    svr.Delete(std::string(kKeys) + "/([A-Za-z0-9_-]{1,64})", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        if (!deleteOwnedRow(s, "external_api_keys", req.matches[1], userId(*user)))
            return sendError(res, 404, "Key not found");
        sendJson(res, {{"ok", true}});
    });
}

} // namespace service
