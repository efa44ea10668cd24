#pragma once
// The provider's consent page: a plain HTML form that carries the authorization request in
// hidden fields, so any HTTP client that submits forms can play the person at the browser.
#include <map>
#include <string>

namespace service {

std::string htmlEscape(const std::string& text);
// `request` holds the query items to carry through the form.
std::string authorizePage(const std::map<std::string, std::string>& request, const std::string& email);
std::string authorizeErrorPage(const std::string& message);

} // namespace service
