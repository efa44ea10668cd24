// The demo companies' pages, written like the small sites such companies really have: a home
// page with a navigation bar, an about page, and what they sell.
#include "intake/DemoSites.h"

#include <map>

namespace service::intake {

namespace {

struct Page {
    std::string title;
    std::string description;
    std::string body;
};

struct Site {
    DemoSite info;
    std::string nav;
    std::map<std::string, Page> pages;
};

std::string render(const Site& site, const Page& page)
{
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + page.title
        + "</title>\n<meta name=\"description\" content=\"" + page.description
        + "\">\n<style>body{font-family:Georgia,serif;max-width:40em;margin:2em auto;line-height:1.5}"
          "nav a{margin-right:1em}</style>\n</head>\n<body>\n<nav>"
        + site.nav + "</nav>\n<main>\n" + page.body + "</main>\n</body>\n</html>\n";
}

const std::vector<Site>& sites()
{
    static const std::vector<Site> all = [] {
        Site bakery{{"bakery", "rosehip-rye.example", "Rosehip & Rye — sourdough bakery in Headingley, Leeds"},
                    "<a href=\"./\">Home</a><a href=\"about.html\">About us</a><a href=\"products.html\">Our "
                    "bakes</a><a href=\"wholesale.html\">Wholesale</a><a href=\"https://instagram.example/"
                    "rosehiprye\">Instagram</a>",
                    {}};
        bakery.pages[""]
            = {bakery.info.title,
               "A neighbourhood sourdough bakery in Headingley, Leeds, baking slow-fermented bread, buns and cakes "
               "from Yorkshire flour since 2016.",
               "<h1>Rosehip &amp; Rye</h1>\n<p>Slow sourdough, baked every morning on Chapel Street. We buy our "
               "flour from two Yorkshire mills and let every loaf ferment for 36 hours.</p>\n<p>Order online by "
               "8 pm and collect the next morning, or find our bread in twelve cafés across Leeds.</p>\n"};
        bakery.pages["about.html"]
            = {"About us — Rosehip & Rye", "Who we are and how we bake.",
               "<h1>About us</h1>\n<p>Rosehip &amp; Rye was founded in 2016 by Maya Okafor, a former school teacher "
               "who started baking for her street during a long winter.</p>\n<p>Today a team of nine bakes in small "
               "batches from 4 am, six days a week.</p>\n<h2>What we stand for</h2>\n<ul>\n<li>Organic flour from "
               "Yorkshire mills, no additives or improvers.</li>\n<li>Every loaf ferments for 36 hours.</li>\n"
               "<li>Unsold bread goes to the Headingley food bank each evening.</li>\n</ul>\n<h2>Visit</h2>\n<p>14 "
               "Chapel Street, Headingley, Leeds. Open Tuesday to Sunday, 7:30 am to 3 pm.</p>\n"};
        bakery.pages["products.html"]
            = {"Our bakes — Rosehip & Rye", "Bread, buns, tarts and celebration cakes.",
               "<h1>Our bakes</h1>\n<ul>\n<li>Sourdough loaves: country white, seeded rye and spelt, £4.20 to "
               "£5.50.</li>\n<li>Cardamom buns and cinnamon knots, baked fresh every morning.</li>\n<li>Seasonal "
               "fruit tarts, from rhubarb in spring to plum in autumn.</li>\n<li>Celebration cakes to order, with 48 "
               "hours&rsquo; notice.</li>\n</ul>\n<p>Online pre-orders open until 8 pm for collection the next "
               "morning.</p>\n"};
        bakery.pages["wholesale.html"]
            = {"Wholesale — Rosehip & Rye", "Bread for cafés and restaurants in Leeds.",
               "<h1>Wholesale</h1>\n<p>We supply twelve cafés and restaurants across Leeds.</p>\n<ul>\n<li>Daily "
               "delivery before 7 am within six miles of Headingley.</li>\n<li>Standing orders from 10 loaves a "
               "day.</li>\n</ul>\n"};

        Site studio{{"design-studio", "northlight-studio.example",
                     "Northlight Studio — brand identity and web design, Rotterdam"},
                    "<a href=\"./\">Studio</a><a href=\"about.html\">About</a><a href=\"services.html\">Services "
                    "&amp; pricing</a><a href=\"work.html\">Work</a>",
                    {}};
        studio.pages[""]
            = {studio.info.title,
               "Northlight is an independent design studio in Rotterdam making brand identities, websites and "
               "design systems for cultural institutions and young companies.",
               "<h1>Northlight Studio</h1>\n<p>We design identities and websites that stay clear when they grow. "
               "Six designers and developers, one studio on the Maashaven.</p>\n<p>Currently booking projects for "
               "the autumn.</p>\n"};
        studio.pages["about.html"]
            = {"About — Northlight Studio", "The people and the way we work.",
               "<h1>About</h1>\n<p>Northlight was started in 2019 by Ilse de Vries and Tomasz Wójcik after ten years "
               "at larger agencies.</p>\n<ul>\n<li>A team of six designers and developers in Rotterdam.</li>\n"
               "<li>Projects run six to ten weeks, with one fixed team from start to launch.</li>\n<li>We work in "
               "Dutch and English.</li>\n</ul>\n"};
        studio.pages["services.html"]
            = {"Services & pricing — Northlight Studio", "What we make and what it costs.",
               "<h1>Services &amp; pricing</h1>\n<ul>\n<li>Brand identity: logo, type, colour and guidelines, from "
               "&euro;8,000.</li>\n<li>Websites designed and built on a headless CMS, from &euro;12,000.</li>\n"
               "<li>Design systems for product teams, from &euro;15,000.</li>\n<li>Packaging and print for consumer "
               "brands.</li>\n</ul>\n"};
        studio.pages["work.html"]
            = {"Work — Northlight Studio", "Selected projects.",
               "<h1>Work</h1>\n<ul>\n<li>Het Nieuwe Depot: identity and ticketing site for a Rotterdam "
               "museum.</li>\n<li>Fieldnote: a design system for a note-taking start-up.</li>\n<li>Gro&eacute;n: "
               "packaging for a plant-based dairy brand.</li>\n</ul>\n"};
        return std::vector<Site>{bakery, studio};
    }();
    return all;
}

} // namespace

const std::vector<DemoSite>& demoSites()
{
    static const std::vector<DemoSite> infos = [] {
        std::vector<DemoSite> out;
        for (const auto& site : sites())
            out.push_back(site.info);
        return out;
    }();
    return infos;
}

const DemoSite* demoSiteByKey(const std::string& key)
{
    for (const auto& site : demoSites())
        if (site.key == key)
            return &site;
    return nullptr;
}

const DemoSite* demoSiteByHost(const std::string& host)
{
    for (const auto& site : demoSites())
        if (site.host == host || "www." + site.host == host)
            return &site;
    return nullptr;
}

std::optional<std::string> demoPage(const std::string& siteKey, const std::string& page)
{
    for (const auto& site : sites()) {
        if (site.info.key != siteKey)
            continue;
        const auto it = site.pages.find(page == "index.html" ? std::string() : page);
        if (it == site.pages.end())
            return std::nullopt;
        return render(site, it->second);
    }
    return std::nullopt;
}

} // namespace service::intake
