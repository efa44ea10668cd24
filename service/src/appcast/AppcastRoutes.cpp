#include "Routes.h"

namespace service {

// The update feed the client's badge reads; the advertised build comes from --advertise-build.
void addAppcastRoutes(httplib::Server& svr, Service& s)
{
    svr.Get("/appcast.xml", [&](const httplib::Request&, httplib::Response& res) {
        const std::string n = std::to_string(s.opt.advertiseBuild);
        const std::string url = "http://127.0.0.1:" + std::to_string(s.port) + "/downloads/halvex-" + n + ".tar.gz";
        res.set_content("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<rss version=\"2.0\" "
                        "xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">\n<channel>\n"
                        "<title>Halvex</title>\n<item>\n<title>Version 0."
                            + n
                            + ".0</title>\n"
                              "<sparkle:version>"
                            + n + "</sparkle:version>\n<sparkle:shortVersionString>0." + n
                            + ".0</sparkle:shortVersionString>\n<enclosure url=\"" + url
                            + "\" length=\"0\" type=\"application/octet-stream\"/>\n</item>\n</channel>\n</rss>\n",
                        "application/xml");
    });
}

} // namespace service
