// The web store the app opens in a browser: top-ups and plans, behind the service's own session
// cookie (a sign-in form when there is none). Forms post form-encoded; tests may post JSON.
#include "Routes.h"

#include "auth/Sessions.h"
#include "billing/Ledger.h"
#include "billing/Plans.h"
#include "billing/StorePages.h"
#include "core/Utf8.h"
#include "governance/RequestBody.h"

#include <sodium.h>

#include <cmath>
#include <map>
#include <variant>

namespace service {

using namespace billing;

namespace {

constexpr const char* kTopUp = "/store/top-up";
constexpr const char* kPlans = "/store/plans";
constexpr const char* kGoBack = " You can go back to Halvex.";

using Fields = std::map<std::string, std::string>;

void sendPage(httplib::Response& res, int status, const std::string& html)
{
    res.status = status;
    res.set_header("Cache-Control", "no-store");
    res.set_header("X-Frame-Options", "DENY");
    res.set_header("Content-Security-Policy",
                   "default-src 'none'; style-src 'unsafe-inline'; form-action 'self'; frame-ancestors 'none'");
    res.set_content(html, "text/html; charset=utf-8");
}

// A form sent from another site is refused even before the cookie is looked at.
bool foreignForm(const Service& s, const httplib::Request& req)
{
    if (!req.has_header("Origin"))
        return false;
    const std::string origin = req.get_header_value("Origin");
    return origin != s.origin() && origin != "http://localhost:" + std::to_string(s.port);
}

// The posted fields, from a form or a JSON object of texts and numbers; or why they are unusable.
std::variant<Fields, std::string> postedFields(const httplib::Request& req)
{
    Fields out;
    if (req.get_header_value("Content-Type").find("application/json") != std::string::npos) {
        if (req.body.size() > kMaxSmallBody)
            return std::string("The request is too large.");
        const json body = json::parse(req.body, nullptr, false);
        if (body.is_discarded() || !body.is_object())
            return std::string("The request is not a JSON object.");
        for (const auto& [key, value] : body.items())
            if (value.is_string())
                out[key] = value.get<std::string>();
            else if (value.is_number())
                out[key] = value.dump();
        return out;
    }
    for (const auto& [key, value] : req.params) {
        if (!isValidUtf8(key) || !isValidUtf8(value))
            return std::string(kInvalidUtf8);
        out[key] = value;
    }
    return out;
}

std::string field(const Fields& fields, const char* key)
{
    const auto it = fields.find(key);
    return it == fields.end() ? std::string() : trim(it->second);
}

// Cents between $1 and $1,000, or the text that refuses the amount.
std::variant<long long, std::string> topUpCents(const std::string& text)
{
    char* end = nullptr;
    const double usd = text.empty() || text.size() > 32 ? NAN : std::strtod(text.c_str(), &end);
    if (!std::isfinite(usd) || end == nullptr || *end != '\0')
        return std::string("Enter an amount in US dollars.");
    const long long cents = std::llround(usd * 100);
    if (cents < 100 || cents > 100000)
        return std::string("Top-ups are between $1 and $1,000.");
    return cents;
}

void signIn(Service& s, const httplib::Request& req, httplib::Response& res)
{
    const auto fields = postedFields(req);
    if (const auto* problem = std::get_if<std::string>(&fields))
        return sendPage(res, 400, signInPage(kTopUp, Notice{true, *problem}));
    const Fields& f = std::get<Fields>(fields);
    // Only the store's own pages: the form cannot send anyone elsewhere.
    const std::string next = field(f, "next") == kPlans ? kPlans : kTopUp;
    if (tooManyAttempts(s, req.remote_addr, false))
        return sendPage(res, 429, signInPage(next, Notice{true, "Too many sign-in attempts — try again later."}));
    const std::string password = f.count("password") ? f.at("password") : std::string();
    const auto rows
        = s.db->query("SELECT id, password_hash FROM users WHERE lower(email) = lower(?)", {field(f, "email")});
    const bool ok = !rows.empty() && !isNull(rows[0][1])
        && crypto_pwhash_str_verify(text(rows[0][1]).c_str(), password.data(), password.size()) == 0;
    if (!ok) {
        tooManyAttempts(s, req.remote_addr, true);
        return sendPage(res, 401, signInPage(next, Notice{true, "Wrong e-mail or password."}));
    }
    startSession(s, integer(rows[0][0]), res);
    res.status = 303;
    res.set_header("Location", next);
}

void topUp(Service& s, const SqlRow& user, const httplib::Request& req, httplib::Response& res)
{
    const auto fields = postedFields(req);
    const auto cents = std::holds_alternative<Fields>(fields)
        ? topUpCents(field(std::get<Fields>(fields), "amount_usd"))
        : std::variant<long long, std::string>(std::get<std::string>(fields));
    if (const auto* problem = std::get_if<std::string>(&cents)) {
        const auto w = openWallet(s, userId(user));
        return sendPage(res, 400,
                        topUpPage(text(user[1]), w.availableMicro() / kMicroPerCredit, Notice{true, *problem}));
    }
    const long long amount = std::get<long long>(cents);
    recordEntry(s, userId(user),
                {"top_up", amount * (kMicroPerUsd / 100), "Top-up from the web store", std::nullopt, std::nullopt});
    const auto w = openWallet(s, userId(user));
    const std::string added = "Added ◆ " + groupedNumber(amount * kCreditsPerUsd / 100) + " to your wallet.";
    sendPage(res, 200, topUpPage(text(user[1]), w.availableMicro() / kMicroPerCredit, Notice{false, added + kGoBack}));
}

void switchPlan(Service& s, const SqlRow& user, const httplib::Request& req, httplib::Response& res)
{
    const auto fields = postedFields(req);
    const Plan* plan
        = std::holds_alternative<Fields>(fields) ? findPlan(field(std::get<Fields>(fields), "plan")) : nullptr;
    const Plan& current = currentPlan(s, userId(user));
    if (!plan)
        return sendPage(res, 400, plansPage(text(user[1]), current, Notice{true, "Pick one of the plans below."}));
    if (plan == &current)
        return sendPage(res, 200,
                        plansPage(text(user[1]), current,
                                  Notice{false, std::string("You are already on the ") + plan->name + " plan."}));
    s.db->transaction([&] { choosePlan(s, userId(user), *plan); });
    sendPage(res, 200,
             plansPage(text(user[1]), *plan,
                       Notice{false, std::string("You are now on the ") + plan->name + " plan." + kGoBack}));
}

// Signed in: `body` answers. Otherwise the sign-in form, which comes back to `page`.
template <typename Body>
void signedIn(Service& s, const httplib::Request& req, httplib::Response& res, const char* page, Body body)
{
    const bool posted = req.method == "POST";
    if (posted && foreignForm(s, req))
        return sendPage(res, 403, refusedPage("This form can only be sent from the Halvex store."));
    const auto user = currentUser(s, req);
    if (!user)
        return sendPage(res, posted ? 401 : 200, signInPage(page, std::nullopt));
    body(*user);
}

} // namespace

void addStoreRoutes(httplib::Server& svr, Service& s)
{
    svr.Get(kTopUp, [&](const httplib::Request& req, httplib::Response& res) {
        signedIn(s, req, res, kTopUp, [&](const SqlRow& user) {
            const auto w = openWallet(s, userId(user));
            sendPage(res, 200, topUpPage(text(user[1]), w.availableMicro() / kMicroPerCredit, std::nullopt));
        });
    });
    svr.Post(kTopUp, [&](const httplib::Request& req, httplib::Response& res) {
        signedIn(s, req, res, kTopUp, [&](const SqlRow& user) { topUp(s, user, req, res); });
    });
    svr.Get(kPlans, [&](const httplib::Request& req, httplib::Response& res) {
        signedIn(s, req, res, kPlans, [&](const SqlRow& user) {
            sendPage(res, 200, plansPage(text(user[1]), currentPlan(s, userId(user)), std::nullopt));
        });
    });
    svr.Post(kPlans, [&](const httplib::Request& req, httplib::Response& res) {
        signedIn(s, req, res, kPlans, [&](const SqlRow& user) { switchPlan(s, user, req, res); });
    });
    svr.Post("/store/sign-in", [&](const httplib::Request& req, httplib::Response& res) {
        if (foreignForm(s, req))
            return sendPage(res, 403, refusedPage("This form can only be sent from the Halvex store."));
        signIn(s, req, res);
    });
}

} // namespace service
