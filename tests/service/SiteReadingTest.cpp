// The intake's reading of pages and addresses in process: what a page's text is, which addresses
// the service may reach at all, and which links stay inside a site.
#include "intake/HtmlText.h"
#include "intake/SiteAddress.h"
#include "projects/ProjectOverview.h"

#include <gtest/gtest.h>

using namespace service::intake;

TEST(SiteReading, PageTextSkipsWhatIsNotReadAndDecodesWhatIs)
{
    const PageText page = readHtml("<html><head><TITLE>Caf&eacute; &amp; Co</TITLE>"
                                   "<meta content='Fresh &#x2014; daily' name=\"Description\">"
                                   "<script>document.write('<p>not text</p>')</script><style>p{}</style></head>"
                                   "<body><!-- <p>hidden</p> --><h2>Menu</h2><p>Bread<br>and   buns</p>"
                                   "<ul><li>Rye &pound;4<li>Spelt &bogus; &#0; &#xD800;</ul>"
                                   "<a href=\"about.html\">About <b>us</b></a><p>cut off <a href=x");
    EXPECT_EQ(page.title, "Café & Co");
    EXPECT_EQ(page.description, "Fresh — daily");
    EXPECT_EQ(page.headings, std::vector<std::string>{"Menu"});
    EXPECT_EQ(page.paragraphs, (std::vector<std::string>{"Bread and buns", "cut off"}));
    EXPECT_EQ(page.items, (std::vector<std::string>{"Rye £4", "Spelt &bogus;"}));
    ASSERT_EQ(page.links.size(), 1u);
    EXPECT_EQ(page.links[0].href, "about.html");
    EXPECT_EQ(page.links[0].text, "About us");
    // Bytes that are not UTF-8 never reach an answer.
    EXPECT_EQ(cleanText("ok \xFF\xFE end"), "ok end");
}

TEST(SiteReading, OnlyTheDemoSitesAreReachable)
{
    const int port = 8787;
    const auto reach = [&](const std::string& url) {
        const auto address = parseWebAddress(url);
        return address ? reachableSite(*address, port) : std::nullopt;
    };
    const auto byHost = reach("HTTPS://Rosehip-Rye.example/products.html?x=1#top");
    ASSERT_TRUE(byHost);
    EXPECT_EQ(byHost->localRoot, "/demo-sites/bakery/");
    EXPECT_EQ(byHost->publicRoot, "https://rosehip-rye.example/");
    EXPECT_EQ(byHost->firstPage, "products.html");
    const auto local = reach("http://localhost:8787/demo-sites/design-studio");
    ASSERT_TRUE(local);
    EXPECT_EQ(local->firstPage, "");
    EXPECT_EQ(local->publicRoot, "http://localhost:8787/demo-sites/design-studio/");

    for (const char* outside :
         {"http://127.0.0.1:8788/demo-sites/bakery/", "http://127.0.0.1:8787/api/v2/auth/me",
          "http://127.0.0.1:8787/demo-sites/bakery/../../api/v2/auth/me", "https://rosehip-rye.example/%2e%2e/secret",
          "https://example.com/", "https://user@rosehip-rye.example/", "https://rosehip-rye.example:99999/",
          "ftp://rosehip-rye.example/", "https://rosehip rye.example/", "rosehip-rye.example"})
        EXPECT_FALSE(reach(outside)) << outside;
}

TEST(SiteReading, LinksStayInsideTheirSite)
{
    const ReachableSite site{"/demo-sites/bakery/", "https://rosehip-rye.example/", ""};
    EXPECT_EQ(sitePageOf(site, 8787, "about.html"), "about.html");
    EXPECT_EQ(sitePageOf(site, 8787, "./wholesale.html#hours"), "wholesale.html");
    EXPECT_EQ(sitePageOf(site, 8787, "/products.html"), "products.html");
    EXPECT_EQ(sitePageOf(site, 8787, "https://www.rosehip-rye.example/about.html"), "about.html");
    for (const char* away : {"https://instagram.example/rosehiprye", "mailto:hello@rosehip-rye.example", "#top",
                             "../design-studio/", "javascript:alert(1)", "https://northlight-studio.example/"})
        EXPECT_FALSE(sitePageOf(site, 8787, away)) << away;
    const ReachableSite local{"/demo-sites/bakery/", "http://127.0.0.1:8787/demo-sites/bakery/", ""};
    EXPECT_EQ(sitePageOf(local, 8787, "/demo-sites/bakery/about.html"), "about.html");
    EXPECT_FALSE(sitePageOf(local, 8787, "/api/v2/auth/me"));
}

TEST(SiteReading, ProfileLengthsCountAsTheAppCounts)
{
    EXPECT_EQ(service::utf16Units("abc"), 3u);
    EXPECT_EQ(service::utf16Units("é—"), 2u);
    EXPECT_EQ(service::utf16Units("\xF0\x9F\x8D\x9E"), 2u); // one emoji, a surrogate pair
}
