#include "intake/SiteAddress.h"

#include "core/Http.h"
#include "intake/DemoSites.h"
#include "intake/PlainText.h"

#include <algorithm>
#include <cctype>

namespace service::intake {

namespace {

constexpr size_t kMaxAddress = 2048;

bool startsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

// A page name the service can ask its own server for: plain path characters, no climbing.
bool plainPageName(const std::string& page)
{
    if (page.size() > 200 || page.find("..") != std::string::npos || startsWith(page, "/"))
        return false;
    return std::all_of(page.begin(), page.end(),
                       [](unsigned char c) { return std::isalnum(c) || c == '.' || c == '-' || c == '_' || c == '/'; });
}

std::string withoutQuery(const std::string& s) { return s.substr(0, s.find_first_of("?#")); }

} // namespace

std::optional<WebAddress> parseWebAddress(const std::string& text)
{
    const std::string t = trim(text);
    if (t.empty() || t.size() > kMaxAddress)
        return std::nullopt;
    for (unsigned char c : t)
        if (c <= 0x20 || c == 0x7F || c == '<' || c == '>' || c == '"' || c == '\\')
            return std::nullopt;
    WebAddress a;
    const std::string lower = lowerAscii(t);
    if (startsWith(lower, "http://"))
        a.scheme = "http";
    else if (startsWith(lower, "https://"))
        a.scheme = "https";
    else
        return std::nullopt;
    const size_t start = a.scheme.size() + 3;
    const size_t end = std::min(t.find_first_of("/?#", start), t.size());
    std::string authority = lower.substr(start, end - start);
    if (authority.empty() || authority.find('@') != std::string::npos)
        return std::nullopt;
    const size_t colon = authority.rfind(':');
    if (colon != std::string::npos && authority.find(']', colon) == std::string::npos) {
        const std::string port = authority.substr(colon + 1);
        if (port.empty() || port.size() > 5
            || !std::all_of(port.begin(), port.end(), [](unsigned char c) { return std::isdigit(c); }))
            return std::nullopt;
        a.port = std::stoi(port);
        if (a.port < 1 || a.port > 65535)
            return std::nullopt;
        authority.resize(colon);
    }
    const bool bracketed = authority.size() > 2 && authority.front() == '[' && authority.back() == ']';
    if (authority.empty() || (!bracketed && !std::all_of(authority.begin(), authority.end(), [](unsigned char c) {
            return std::isalnum(c) || c == '.' || c == '-';
        })))
        return std::nullopt;
    a.host = authority;
    a.path = withoutQuery(t.substr(end));
    if (a.path.empty())
        a.path = "/";
    return a;
}

std::optional<ReachableSite> reachableSite(const WebAddress& address, int servicePort)
{
    const int port = address.port ? address.port : (address.scheme == "https" ? 443 : 80);
    const bool loopback = address.host == "127.0.0.1" || address.host == "localhost" || address.host == "[::1]";
    if (loopback && port == servicePort && startsWith(address.path, "/demo-sites/")) {
        const std::string rest = address.path.substr(12);
        const std::string key = rest.substr(0, rest.find('/'));
        if (!demoSiteByKey(key))
            return std::nullopt;
        const std::string page = rest.size() > key.size() ? rest.substr(key.size() + 1) : std::string();
        if (!page.empty() && !plainPageName(page))
            return std::nullopt;
        return ReachableSite{
            "/demo-sites/" + key + "/",
            address.scheme + "://" + address.host + ":" + std::to_string(port) + "/demo-sites/" + key + "/", page};
    }
    if (const DemoSite* site = demoSiteByHost(address.host)) {
        const std::string page = address.path.substr(1);
        if (!page.empty() && !plainPageName(page))
            return std::nullopt;
        return ReachableSite{"/demo-sites/" + site->key + "/", address.scheme + "://" + address.host + "/", page};
    }
    return std::nullopt;
}

std::optional<std::string> sitePageOf(const ReachableSite& site, int servicePort, const std::string& href)
{
    const std::string h = trim(href);
    const std::string lower = lowerAscii(h);
    if (h.empty() || h[0] == '#')
        return std::nullopt;
    for (const char* scheme : {"mailto:", "tel:", "javascript:", "data:"})
        if (startsWith(lower, scheme))
            return std::nullopt;
    if (h.find("://") != std::string::npos) {
        const auto address = parseWebAddress(h);
        const auto other = address ? reachableSite(*address, servicePort) : std::nullopt;
        if (!other || other->localRoot != site.localRoot)
            return std::nullopt;
        return other->firstPage;
    }
    std::string page = withoutQuery(h);
    if (startsWith(page, "/")) {
        const bool servedUnderRoot = site.publicRoot.size() >= site.localRoot.size()
            && site.publicRoot.compare(site.publicRoot.size() - site.localRoot.size(), site.localRoot.size(),
                                       site.localRoot)
                == 0;
        if (servedUnderRoot && startsWith(page, site.localRoot))
            page = page.substr(site.localRoot.size());
        else if (!servedUnderRoot)
            page = page.substr(1);
        else
            return std::nullopt;
    }
    while (startsWith(page, "./"))
        page = page.substr(2);
    if (page == ".")
        page.clear();
    if (!page.empty() && !plainPageName(page))
        return std::nullopt;
    return page;
}

} // namespace service::intake
