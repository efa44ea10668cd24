#include "intake/SiteReader.h"

#include "core/Utf8.h"
#include "intake/HtmlText.h"
#include "intake/PlainText.h"
#include "intake/SiteAddress.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <set>

namespace service::intake {

namespace {

constexpr size_t kMaxPageBytes = 512 * 1024;
constexpr size_t kMaxPages = 4;
constexpr size_t kMaxFacts = 10;
constexpr size_t kMaxFactBytes = 240;
constexpr size_t kMaxDigestBytes = 700;

// One page from the service's own server, or nothing (no answer, not 200, not HTML, too big).
std::optional<std::string> fetchPage(int port, const std::string& path)
{
    httplib::Client client("127.0.0.1", port);
    client.set_connection_timeout(2, 0);
    client.set_read_timeout(5, 0);
    client.set_write_timeout(2, 0);
    std::string body;
    bool tooBig = false;
    auto r = client.Get(path.c_str(), httplib::Headers{{"Accept", "text/html"}}, [&](const char* data, size_t n) {
        if (body.size() + n > kMaxPageBytes) {
            tooBig = true;
            return false;
        }
        body.append(data, n);
        return true;
    });
    if (!r || tooBig || r->status != 200 || r->get_header_value("Content-Type").rfind("text/html", 0) != 0)
        return std::nullopt;
    return body;
}

bool relevant(const PageLink& link)
{
    const std::string words = lowerAscii(link.href + " " + link.text);
    for (const char* w : {"about", "product", "service", "pricing", "price", "menu", "bake", "shop", "wholesale",
                          "work", "team", "offer"})
        if (words.find(w) != std::string::npos)
            return true;
    return false;
}

bool hasDigit(const std::string& s)
{
    return std::any_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

class FactList {
public:
    void add(const std::string& raw)
    {
        const std::string fact = utf8Prefix(trim(raw), kMaxFactBytes);
        if (fact.size() < 12 || m_facts.size() >= kMaxFacts || !m_seen.insert(lowerAscii(fact)).second)
            return;
        m_facts.push_back(fact);
    }
    std::vector<std::string> take() { return std::move(m_facts); }

private:
    std::vector<std::string> m_facts;
    std::set<std::string> m_seen;
};

std::string unreadable(const std::string& url)
{
    return "The website " + url
        + " could not be read, so the questions and the profile rest on your description "
          "alone.";
}

} // namespace

IntakeSource readWebsite(Service& s, const std::string& websiteUrl)
{
    IntakeSource source;
    std::string url = utf8Prefix(trim(websiteUrl), 300);
    if (url.empty()) {
        source.status = "none";
        return source;
    }
    // As the app sends it: an address typed without a scheme is a secure one.
    if (url.find("://") == std::string::npos)
        url = "https://" + url;
    source.canonicalUrl = url;
    const auto address = parseWebAddress(url);
    if (!address) {
        source.status = "invalid";
        source.warning = unreadable("“" + url + "”");
        return source;
    }
    const auto site = reachableSite(*address, s.port);
    const auto first = site ? fetchPage(s.port, site->localRoot + site->firstPage) : std::nullopt;
    if (!first) {
        source.status = "unreachable";
        source.warning = unreadable(address->host);
        return source;
    }

    std::vector<std::pair<std::string, PageText>> read{{site->firstPage, readHtml(*first)}};
    std::vector<std::string> wanted;
    for (const auto& link : read[0].second.links) {
        const auto page = sitePageOf(*site, s.port, link.href);
        if (page && *page != site->firstPage && relevant(link)
            && std::find(wanted.begin(), wanted.end(), *page) == wanted.end() && wanted.size() + 1 < kMaxPages)
            wanted.push_back(*page);
    }
    bool missed = false;
    for (const auto& page : wanted) {
        if (const auto html = fetchPage(s.port, site->localRoot + page))
            read.emplace_back(page, readHtml(*html));
        else
            missed = true;
    }

    FactList facts;
    std::string about;
    // Listed points first: a site's lists say what it offers more plainly than its prose.
    for (const auto& [page, text] : read) {
        source.pages.push_back(site->publicRoot + page);
        for (const auto& item : text.items)
            facts.add(item);
        if (about.empty() && page.find("about") != std::string::npos && !text.paragraphs.empty())
            about = text.paragraphs.front();
    }
    for (const auto& [page, text] : read)
        for (const auto& paragraph : text.paragraphs)
            for (const auto& sentence : sentencesOf(paragraph))
                if (hasDigit(sentence))
                    facts.add(sentence);
    const PageText& home = read[0].second;
    source.canonicalUrl = site->publicRoot + site->firstPage;
    source.title = !home.title.empty() ? home.title : (home.headings.empty() ? std::string() : home.headings[0]);
    source.facts = facts.take();
    std::string digest = home.description;
    const std::string lead = !about.empty() ? about : (home.paragraphs.empty() ? std::string() : home.paragraphs[0]);
    if (!lead.empty())
        digest += (digest.empty() ? "" : " ") + lead;
    source.digest = utf8Prefix(digest, kMaxDigestBytes);
    source.status = missed ? "partial" : "read";
    if (missed)
        source.warning = "Some pages of the website could not be read; the profile uses the ones that could.";
    else if (source.facts.size() < 2 && source.digest.empty())
        source.warning = "The website had little readable text — check the profile against what you know.";
    return source;
}

} // namespace service::intake
