// The sign-in provider played locally (authorization page and token endpoint) and the service's
// own endpoint that turns a provider ID token into a session.
#include "Routes.h"

#include "auth/Sessions.h"
#include "core/Http.h"
#include "google/AuthorizePage.h"
#include "google/ClientRules.h"
#include "google/GoogleAccounts.h"
#include "google/LocalProvider.h"
#include "google/ServiceClock.h"

#include <cctype>
#include <memory>

namespace service {

namespace {

constexpr const char* kDefaultGoogleEmail = "google.user@halvex.local";
const char* const kCarriedItems[]
    = {"client_id", "redirect_uri", "response_type", "scope", "code_challenge", "code_challenge_method",
       "state",     "nonce",        "prompt"};

std::string percentEncode(const std::string& s)
{
    static const char* hexDigits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~')
            out += char(c);
        else {
            out += '%';
            out += hexDigits[c >> 4];
            out += hexDigits[c & 15];
        }
    }
    return out;
}

void redirectBack(httplib::Response& res, const std::string& redirectUri,
                  const std::vector<std::pair<std::string, std::string>>& items)
{
    std::string location = redirectUri;
    char sep = redirectUri.find('?') == std::string::npos ? '?' : '&';
    for (const auto& [k, v] : items) {
        if (v.empty())
            continue;
        location += sep + k + "=" + percentEncode(v);
        sep = '&';
    }
    res.status = 302;
    res.set_header("Location", location);
}

// The client and redirect are checked before anything is sent back to the redirect address.
std::optional<std::string> clientProblem(const httplib::Request& req)
{
    const std::string clientId = req.get_param_value("client_id");
    if (!isInstalledClientId(clientId))
        return "Unknown OAuth client.";
    if (req.get_param_value("redirect_uri") != redirectUriFor(clientId))
        return "redirect_uri does not match the client.";
    return std::nullopt;
}

std::optional<std::string> requestProblem(const httplib::Request& req)
{
    if (req.get_param_value("response_type") != "code")
        return "unsupported_response_type";
    if (req.get_param_value("code_challenge_method") != "S256" || req.get_param_value("code_challenge").size() != 43)
        return "invalid_request";
    return std::nullopt;
}

void sendPage(httplib::Response& res, int status, const std::string& html)
{
    res.status = status;
    res.set_content(html, "text/html; charset=utf-8");
}

void tokenError(httplib::Response& res, int status, const std::string& error, const std::string& description)
{
    sendJson(res, {{"error", error}, {"error_description", description}}, status);
}

std::string refusalText(CodeRefusal r)
{
    switch (r) {
    case CodeRefusal::unknown:
        return "The authorization code is not valid.";
    case CodeRefusal::used:
        return "The authorization code was already used.";
    case CodeRefusal::expired:
        return "The authorization code has expired.";
    }
    return "The authorization code is not valid.";
}

} // namespace

void addGoogleRoutes(httplib::Server& svr, Service& s)
{
    auto provider = std::make_shared<LocalProvider>("halvex-local-accounts");

    svr.Get("/oauth/authorize", [](const httplib::Request& req, httplib::Response& res) {
        if (const auto problem = clientProblem(req))
            return sendPage(res, 400, authorizeErrorPage(*problem));
        if (const auto problem = requestProblem(req))
            return redirectBack(res, req.get_param_value("redirect_uri"),
                                {{"error", *problem}, {"state", req.get_param_value("state")}});
        std::map<std::string, std::string> carried;
        for (const char* key : kCarriedItems)
            if (req.has_param(key))
                carried[key] = req.get_param_value(key);
        const std::string hint = req.get_param_value("login_hint");
        sendPage(res, 200, authorizePage(carried, hint.empty() ? kDefaultGoogleEmail : hint));
    });

    svr.Post("/oauth/authorize", [&s, provider](const httplib::Request& req, httplib::Response& res) {
        if (const auto problem = clientProblem(req))
            return sendPage(res, 400, authorizeErrorPage(*problem));
        const std::string redirectUri = req.get_param_value("redirect_uri");
        const std::string state = req.get_param_value("state");
        if (const auto problem = requestProblem(req))
            return redirectBack(res, redirectUri, {{"error", *problem}, {"state", state}});
        if (req.get_param_value("decision") != "approve")
            return redirectBack(res, redirectUri, {{"error", "access_denied"}, {"state", state}});
        // The email and name end up on the account, so they must be text the answers can carry.
        if (!requestTextValid(req))
            return sendPage(res, 400, authorizeErrorPage("The form holds text that is not valid UTF-8."));
        const std::string email = trim(req.get_param_value("email"));
        if (email.empty() || email.find('@') == std::string::npos || email.size() > 254)
            return sendPage(res, 400, authorizeErrorPage("Enter a valid email address."));
        AuthorizationGrant grant{req.get_param_value("client_id"), redirectUri, req.get_param_value("code_challenge"),
                                 req.get_param_value("nonce"),     email,       trim(req.get_param_value("name"))};
        const std::string code = provider->codes().issue(std::move(grant), serviceNow(s));
        redirectBack(res, redirectUri, {{"code", code}, {"state", state}});
    });

    svr.Post("/oauth/token", [&s, provider](const httplib::Request& req, httplib::Response& res) {
        if (req.get_param_value("grant_type") != "authorization_code")
            return tokenError(res, 400, "unsupported_grant_type", "Only authorization_code is supported.");
        const std::string clientId = req.get_param_value("client_id");
        if (!isInstalledClientId(clientId))
            return tokenError(res, 401, "invalid_client", "Unknown OAuth client.");
        const long long now = serviceNow(s);
        auto redeemed = provider->codes().redeem(req.get_param_value("code"), now);
        if (const auto* refusal = std::get_if<CodeRefusal>(&redeemed))
            return tokenError(res, 400, "invalid_grant", refusalText(*refusal));
        const auto& grant = std::get<AuthorizationGrant>(redeemed);
        if (grant.clientId != clientId)
            return tokenError(res, 400, "invalid_grant", "The authorization code was issued to another client.");
        if (req.get_param_value("redirect_uri") != grant.redirectUri)
            return tokenError(res, 400, "invalid_grant", "redirect_uri does not match the authorization request.");
        if (!verifierMatchesChallenge(req.get_param_value("code_verifier"), grant.codeChallenge))
            return tokenError(res, 400, "invalid_grant", "The code verifier does not match the code challenge.");
        sendJson(res,
                 {{"id_token", provider->issueIdToken(grant, now)},
                  {"token_type", "Bearer"},
                  {"expires_in", LocalProvider::idTokenLifetimeSeconds},
                  {"scope", "openid email profile"}});
    });

    svr.Post("/api/v2/auth/google/native", [&s, provider](const httplib::Request& req, httplib::Response& res) {
        auto body = parseBody(req, res);
        if (!body)
            return;
        const std::string idToken = str(*body, "id_token");
        if (idToken.empty())
            return sendError(res, 400, "id_token is required.");
        auto verified = provider->verifyIdToken(idToken, serviceClientId(), serviceNow(s));
        if (const auto* why = std::get_if<std::string>(&verified))
            return sendError(res, 401, *why);
        const auto& claims = std::get<json>(verified);
        const long long id = signInOrCreateGoogleUser(s, claims.value("email", std::string()),
                                                      claims.value("name", std::string()), str(*body, "time_zone"));
        startSession(s, id, res);
        const auto row = s.db->query("SELECT id, email, full_name, auth_provider FROM users WHERE id = ?", {id});
        sendJson(res, {{"user", userJson(row.at(0))}});
    });

    if (!s.opt.testMode)
        return;
    // Moves the clock every expiry here is measured by; nothing waits in real time.
    svr.Post("/__test/clock", [&s](const httplib::Request& req, httplib::Response& res) {
        auto body = parseBody(req, res);
        if (!body)
            return;
        const auto it = body->find("advance_seconds");
        if (it == body->end() || !it->is_number_integer())
            return sendError(res, 400, "advance_seconds must be an integer.");
        s.clockOffsetSeconds += it->get<long long>();
        sendJson(res, {{"offset_seconds", s.clockOffsetSeconds.load()}});
    });
}

} // namespace service
