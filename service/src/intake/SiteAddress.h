#pragma once
// Website addresses as the intake reads them. The service reaches only its own origin, so an
// address is readable when it names one of the demo sites: under "/demo-sites/<site>/" on the
// service's loopback origin, or by the site's reserved ".example" host.
#include <optional>
#include <string>

namespace service::intake {

struct WebAddress {
    std::string scheme; // "http" or "https"
    std::string host;   // lower-cased
    int port = 0;       // 0: the scheme's default
    std::string path;   // starts with "/", without query or fragment
};

// Only http(s) addresses with a host and no user part; nothing for anything else.
std::optional<WebAddress> parseWebAddress(const std::string& text);

// A readable site: where its pages live on the service, and how to name them back to the user.
struct ReachableSite {
    std::string localRoot;  // "/demo-sites/bakery/"
    std::string publicRoot; // "https://rosehip-rye.example/" or "http://127.0.0.1:8787/demo-sites/bakery/"
    std::string firstPage;  // the page the address named, relative to the root ("", "about.html")
};

// Nothing when the address lies outside what the service may reach.
std::optional<ReachableSite> reachableSite(const WebAddress& address, int servicePort);

// A link of a page of `site`, as a page name relative to its root; nothing when it leaves the
// site, climbs out of it, or is not a page link at all (mail, phone, fragment).
std::optional<std::string> sitePageOf(const ReachableSite& site, int servicePort, const std::string& href);

} // namespace service::intake
