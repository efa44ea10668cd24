// The apps an employee works in: the catalogue with its logos, the user's connected accounts
// (connected here with a key; the secret is sealed and never answered) and payout accounts.
#include "Routes.h"

#include "auth/Sessions.h"
#include "core/Crypto.h"
#include "governance/Connectors.h"
#include "governance/RequestBody.h"
#include "governance/Rows.h"
#include "governance/SecretVault.h"
#include "workers/WorkerClock.h"

namespace service {

namespace {

constexpr size_t kMaxSecret = 4096;
constexpr size_t kMaxName = 200;

json accountJson(const SqlRow& r)
{
    return {{"id", text(r[0])},
            {"connector_slug", text(r[1])},
            {"provider", text(r[1])},
            {"auth_kind", text(r[2])},
            {"status", text(r[3])},
            {"display_name", text(r[4])},
            {"last_validated_at", textOrNull(r[5])},
            {"error_message", textOrNull(r[6])}};
}

constexpr const char* kAccountColumns
    = "id, connector_slug, auth_kind, status, display_name, last_validated_at, error_message";

json accountsOf(Service& s, long long uid)
{
    json out = json::array();
    for (const auto& r : s.db->query(std::string("SELECT ") + kAccountColumns
                                         + " FROM connected_accounts WHERE user_id = ? ORDER BY created_at, rowid",
                                     {uid}))
        out.push_back(accountJson(r));
    return out;
}

void connectWithKey(Service& s, long long uid, const httplib::Request& req, httplib::Response& res)
{
    const auto body = readSmallBody(req, res);
    if (!body)
        return;
    const auto slug = readText(*body, "connector_slug", kMaxName, res);
    const auto key = slug ? readText(*body, "api_key", kMaxSecret, res) : std::nullopt;
    const auto username = key ? readText(*body, "username", kMaxName, res) : std::nullopt;
    const auto password = username ? readText(*body, "password", kMaxSecret, res) : std::nullopt;
    if (!password)
        return;
    const Connector* connector = findConnector(*slug);
    if (!connector)
        return sendError(res, 404, "Connector not found");
    if (key->empty())
        return sendError(res, 400, "An API key is required.");
    const std::string display
        = username->empty() ? connector->name : std::string(connector->name) + " (" + *username + ")";
    const std::string sealed
        = sealSecret(s, json{{"api_key", *key}, {"username", *username}, {"password", *password}}.dump());
    const std::string id = "ca-" + randomHex(8);
    const std::string now = workers::serviceIso(s);
    s.db->transaction([&] {
        // Connecting the same login again replaces it, with the new key.
        s.db->execute("DELETE FROM connected_accounts WHERE user_id = ? AND connector_slug = ? AND username = ?",
                      {uid, *slug, *username});
        s.db->execute("INSERT INTO connected_accounts (id, user_id, connector_slug, auth_kind, status, display_name, "
                      "username, sealed_credentials, last_validated_at, created_at) "
                      "VALUES (?, ?, ?, 'api_key', 'active', ?, ?, ?, ?, ?)",
                      {id, uid, *slug, display, *username, sealed, now, now});
    });
    const auto row
        = s.db->query(std::string("SELECT ") + kAccountColumns + " FROM connected_accounts WHERE id = ?", {id});
    sendJson(res, {{"connected_account", accountJson(row.at(0))}}, 201);
}

} // namespace

void addConnectionRoutes(httplib::Server& svr, Service& s)
{
    svr.Get("/api/v2/connectors", [&](const httplib::Request& req, httplib::Response& res) {
        if (!requireUser(s, req, res))
            return;
        json list = json::array();
        for (const Connector& c : connectors())
            list.push_back(connectorJson(c, s.origin()));
        sendJson(res, {{"connectors", list}});
    });
    // Logos load as plain images, without the session.
    svr.Get(R"(/connectors/logos/([a-z0-9-]{1,64})\.svg)", [&](const httplib::Request& req, httplib::Response& res) {
        const Connector* c = findConnector(req.matches[1]);
        if (!c)
            return sendError(res, 404, "Not found");
        res.set_header("X-Content-Type-Options", "nosniff");
        res.set_header("Content-Security-Policy", "default-src 'none'; style-src 'unsafe-inline'");
        res.set_header("Cache-Control", "public, max-age=86400");
        res.set_content(connectorLogoSvg(*c), "image/svg+xml");
    });

    // Accounts belong to the user; every employee may use them, so the agent filter lists them all.
    svr.Get("/api/v2/connected-accounts", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        sendJson(res, {{"connected_accounts", accountsOf(s, userId(*user))}});
    });
    svr.Post("/api/v2/connected-accounts/nango-api-key", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (user)
            connectWithKey(s, userId(*user), req, res);
    });
    svr.Delete("/api/v2/connected-accounts", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        const std::string id = req.get_param_value("id");
        if (id.empty())
            return sendError(res, 400, "id is required");
        if (!deleteOwnedRow(s, "connected_accounts", id, userId(*user)))
            return sendError(res, 404, "Connected account not found");
        sendJson(res, {{"ok", true}});
    });

    svr.Get("/api/v2/user/payment-accounts", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        json list = json::array();
        for (const auto& r : s.db->query("SELECT id, provider, label, currency, is_valid FROM payment_accounts "
                                         "WHERE user_id = ? ORDER BY created_at, rowid",
                                         {userId(*user)}))
            list.push_back({{"id", text(r[0])},
                            {"provider", text(r[1])},
                            {"label", text(r[2])},
                            {"currency", text(r[3])},
                            {"is_valid", integer(r[4]) != 0}});
        sendJson(res, {{"payment_accounts", list}});
    });
}

} // namespace service
