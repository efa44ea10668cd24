#include "billing/StorePages.h"

#include "billing/Ledger.h"
#include "google/AuthorizePage.h"

namespace service::billing {

namespace {

constexpr const char* kStyle
    = "body{margin:0;background:#f4f5f7;color:#1d2330;font:15px/1.5 -apple-system,system-ui,'Segoe UI',sans-serif}"
      "main{max-width:600px;margin:48px auto;padding:32px;background:#fff;border-radius:14px;"
      "box-shadow:0 1px 3px rgba(16,24,40,.1)}"
      "h1{font-size:22px;margin:0 0 6px}.muted{color:#667085}"
      ".notice{margin:18px 0;padding:12px 14px;border-radius:10px;background:#e7f6ec;color:#14532d}"
      ".notice.error{background:#fdecec;color:#7a1c1c}"
      ".options{display:flex;flex-wrap:wrap;gap:12px;margin:22px 0}"
      ".option{flex:1 1 150px;border:1px solid #e4e7ec;border-radius:12px;padding:16px;text-align:center}"
      ".option.current{border-color:#3b5bdb}.amount{font-size:22px;font-weight:600}"
      "form{margin:0}label{display:block;margin:12px 0 4px}"
      "input{box-sizing:border-box;width:100%;padding:8px 10px;border:1px solid #d0d5dd;border-radius:8px;font:inherit}"
      "button{margin-top:12px;padding:9px 16px;border:0;border-radius:8px;background:#3b5bdb;color:#fff;font:inherit;"
      "cursor:pointer}button:disabled{background:#98a2b3;cursor:default}"
      "nav{margin-top:24px}nav a{color:#3b5bdb}";

std::string page(const std::string& title, const std::string& body)
{
    return "<!doctype html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"><title>"
        + htmlEscape(title) + " · Halvex</title><style>" + kStyle + "</style></head>\n<body><main>\n" + body
        + "</main></body></html>\n";
}

std::string noticeHtml(const std::optional<Notice>& notice)
{
    if (!notice)
        return {};
    return std::string("<p class=\"notice") + (notice->error ? " error" : "") + "\" role=\"status\">"
        + htmlEscape(notice->text) + "</p>\n";
}

std::string signedInLine(const std::string& email, const std::string& extra)
{
    return "<p class=\"muted\">Signed in as " + htmlEscape(email) + "." + extra + "</p>\n";
}

} // namespace

std::string groupedNumber(long long n)
{
    const std::string digits = std::to_string(n < 0 ? -n : n);
    std::string out = n < 0 ? "-" : "";
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

std::string dollars(long long cents)
{
    std::string out = "$" + groupedNumber(cents / 100);
    if (cents % 100) {
        const long long rest = cents % 100;
        out += (rest < 10 ? ".0" : ".") + std::to_string(rest);
    }
    return out;
}

std::string signInPage(const std::string& next, const std::optional<Notice>& notice)
{
    return page("Sign in",
                "<h1>Sign in to the store</h1>\n<p class=\"muted\">Use the e-mail and password of your Halvex "
                "account.</p>\n"
                    + noticeHtml(notice)
                    + "<form method=\"post\" action=\"/store/sign-in\">\n"
                      "<input type=\"hidden\" name=\"next\" value=\""
                    + htmlEscape(next)
                    + "\">\n<label for=\"email\">E-mail</label><input id=\"email\" type=\"email\" name=\"email\" "
                      "autocomplete=\"username\" required>\n"
                      "<label for=\"password\">Password</label><input id=\"password\" type=\"password\" "
                      "name=\"password\" autocomplete=\"current-password\" required>\n"
                      "<button type=\"submit\">Sign in</button>\n</form>\n");
}

std::string topUpPage(const std::string& email, long long availableCredits, const std::optional<Notice>& notice)
{
    std::string options;
    for (const long long usd : {10LL, 25LL, 50LL})
        options += "<form class=\"option\" method=\"post\" action=\"/store/top-up\"><div class=\"amount\">"
            + dollars(usd * 100) + "</div><div class=\"muted\">◆ " + groupedNumber(usd * kCreditsPerUsd)
            + "</div><input type=\"hidden\" name=\"amount_usd\" value=\"" + std::to_string(usd)
            + "\"><button type=\"submit\">Add " + dollars(usd * 100) + "</button></form>\n";
    return page("Top up",
                "<h1>Top up your wallet</h1>\n"
                    + signedInLine(email, " Available: ◆ " + groupedNumber(availableCredits) + ".") + noticeHtml(notice)
                    + "<div class=\"options\">\n" + options
                    + "</div>\n<form method=\"post\" action=\"/store/top-up\">\n<label for=\"amount\">Another "
                      "amount in US dollars (1 to 1,000)</label><input id=\"amount\" type=\"number\" "
                      "name=\"amount_usd\" min=\"1\" max=\"1000\" step=\"0.01\" required>\n"
                      "<button type=\"submit\">Add</button>\n</form>\n"
                      "<nav><a href=\"/store/plans\">Plans</a></nav>\n");
}

std::string plansPage(const std::string& email, const Plan& current, const std::optional<Notice>& notice)
{
    std::string options;
    for (const Plan& p : plans()) {
        const bool isCurrent = std::string(p.key) == current.key;
        options += std::string("<form class=\"option") + (isCurrent ? " current" : "")
            + "\" method=\"post\" action=\"/store/plans\"><div class=\"amount\">" + htmlEscape(p.name) + "</div><div>"
            + dollars(static_cast<long long>(p.priceUsd * 100)) + " a month</div><div class=\"muted\">◆ "
            + groupedNumber(p.tokenLimit * 100) + " included</div><input type=\"hidden\" name=\"plan\" value=\""
            + htmlEscape(p.key) + "\">"
            + (isCurrent ? "<button type=\"button\" disabled>Current plan</button>"
                         : "<button type=\"submit\">Switch to " + htmlEscape(p.name) + "</button>")
            + "</form>\n";
    }
    return page("Plans",
                "<h1>Choose your plan</h1>\n"
                    + signedInLine(email, std::string(" You are on the ") + htmlEscape(current.name) + " plan.")
                    + noticeHtml(notice) + "<div class=\"options\">\n" + options
                    + "</div>\n<nav><a href=\"/store/top-up\">Top up your wallet</a></nav>\n");
}

std::string refusedPage(const std::string& message)
{
    return page("Store", "<h1>Halvex store</h1>\n" + noticeHtml(Notice{true, message}));
}

} // namespace service::billing
