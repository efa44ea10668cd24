#pragma once
// Small company websites the local service serves itself under "/demo-sites/<site>/", so that
// project intake has real pages to read without leaving the machine. Each site also answers to
// a reserved ".example" host name, which the intake maps onto its pages here.
#include <optional>
#include <string>
#include <vector>

namespace service::intake {

struct DemoSite {
    std::string key;   // "bakery": the folder under /demo-sites/
    std::string host;  // "rosehip-rye.example"
    std::string title; // the home page's title
};

const std::vector<DemoSite>& demoSites();
const DemoSite* demoSiteByKey(const std::string& key);
const DemoSite* demoSiteByHost(const std::string& host);
// The HTML of `page` ("" is the home page, else "about.html", …), or nothing when the site has
// no such page.
std::optional<std::string> demoPage(const std::string& siteKey, const std::string& page);

} // namespace service::intake
