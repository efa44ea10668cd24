#include "google/AuthorizePage.h"

namespace service {

std::string htmlEscape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string authorizePage(const std::map<std::string, std::string>& request, const std::string& email)
{
    std::string hidden;
    for (const auto& [name, value] : request)
        hidden += "<input type=\"hidden\" name=\"" + htmlEscape(name) + "\" value=\"" + htmlEscape(value) + "\">\n";
    // Approve comes first: a form-following client presses the first button.
    return "<!doctype html>\n<html><head><meta charset=\"utf-8\"><title>Sign in</title></head><body>\n"
           "<h1>Choose an account</h1>\n<form method=\"post\" action=\"/oauth/authorize\">\n"
        + hidden + "<label>Email <input type=\"email\" name=\"email\" value=\"" + htmlEscape(email)
        + "\"></label>\n"
          "<label>Name <input type=\"text\" name=\"name\" value=\"\"></label>\n"
          "<button type=\"submit\" name=\"decision\" value=\"approve\">Continue</button>\n"
          "<button type=\"submit\" name=\"decision\" value=\"deny\">Cancel</button>\n"
          "</form>\n</body></html>\n";
}

std::string authorizeErrorPage(const std::string& message)
{
    return "<!doctype html>\n<html><head><meta charset=\"utf-8\"><title>Sign-in error</title></head><body>\n"
           "<h1>Sign-in error</h1>\n<p>"
        + htmlEscape(message) + "</p>\n</body></html>\n";
}

} // namespace service
