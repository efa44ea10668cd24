// The demo companies' websites, public like any website: no session. Pages are plain HTML that
// may not run anything, load anything or be read as another type.
#include "Routes.h"

#include "core/Http.h"
#include "intake/DemoSites.h"

namespace service {

namespace {

void sendPage(httplib::Response& res, const std::string& html)
{
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_header("Content-Security-Policy", "default-src 'none'; style-src 'unsafe-inline'");
    res.set_content(html, "text/html; charset=utf-8");
}

void sendSite(const httplib::Request& req, httplib::Response& res, const std::string& page)
{
    const auto html = intake::demoPage(req.matches[1], page);
    if (!html)
        return sendError(res, 404, "Page not found");
    sendPage(res, *html);
}

} // namespace

void addDemoSiteRoutes(httplib::Server& svr, Service&)
{
    svr.Get("/demo-sites/", [](const httplib::Request&, httplib::Response& res) {
        std::string list;
        for (const auto& site : intake::demoSites())
            list += "<li><a href=\"" + site.key + "/\">" + site.title + "</a></li>\n";
        sendPage(res,
                 "<!DOCTYPE html>\n<html lang=\"en\">\n<head><meta charset=\"utf-8\"><title>Demo "
                 "sites</title></head>\n<body>\n<h1>Demo sites</h1>\n<ul>\n"
                     + list + "</ul>\n</body>\n</html>\n");
    });
    svr.Get(R"(/demo-sites/([a-z0-9-]{1,40})/?)",
            [](const httplib::Request& req, httplib::Response& res) { sendSite(req, res, ""); });
    svr.Get(R"(/demo-sites/([a-z0-9-]{1,40})/([A-Za-z0-9_-]{1,60}\.html))",
            [](const httplib::Request& req, httplib::Response& res) { sendSite(req, res, req.matches[2]); });
}

} // namespace service
