// The update feed the badge reads: the build tag it compares, the version it shows, and a
// download address; a newer build is advertised only when asked for.
#include "ChatTestSupport.h"

#include <regex>

using namespace chattest;

namespace {

// The text between the first <tag> and the next </tag>, the way the badge reads the feed.
std::string tagValue(const std::string& feed, const std::string& tag)
{
    const auto open = feed.find("<" + tag + ">");
    if (open == std::string::npos)
        return {};
    const auto start = open + tag.size() + 2;
    const auto end = feed.find("</" + tag + ">", start);
    return end == std::string::npos ? std::string() : feed.substr(start, end - start);
}

std::string feedOf(const LiveService& s)
{
    httplib::Client plain("127.0.0.1", s.port); // no cookie, no origin: the feed is public
    auto r = plain.Get("/appcast.xml");
    EXPECT_TRUE(r);
    if (!r)
        return {};
    EXPECT_EQ(r->status, 200);
    EXPECT_NE(r->get_header_value("Content-Type").find("xml"), std::string::npos);
    return r->body;
}

} // namespace

TEST(Appcast, DefaultFeedOffersTheRunningBuildSoNoBadgeShows)
{
    LiveService s;
    const std::string feed = feedOf(s);
    EXPECT_EQ(tagValue(feed, "sparkle:version"), "1");
    EXPECT_EQ(feed.find("<sparkle:version>", feed.find("<sparkle:version>") + 1), std::string::npos) << "one item only";
}

TEST(Appcast, AdvertisedBuildCarriesItsVersionAndAnHttpDownload)
{
    LiveService s("--ping-ms 200 --advertise-build 42");
    const std::string feed = feedOf(s);
    EXPECT_EQ(tagValue(feed, "sparkle:version"), "42");
    EXPECT_EQ(tagValue(feed, "sparkle:shortVersionString"), "0.42.0");
    std::smatch url;
    ASSERT_TRUE(std::regex_search(feed, url, std::regex(R"re(<enclosure\b[^>]*\burl\s*=\s*"([^"]+)")re")));
    EXPECT_EQ(url[1].str().rfind(s.origin() + "/", 0), 0u) << url[1].str();
}
