#include "computer/model/BrowserServiceCatalog.h"

#include <QUrl>

namespace halvex {

namespace {

BrowserService entry(const char* id, const char* label, const char* icon, QStringList hosts, const char* path,
                     QStringList slugs)
{
    const QString host = hosts.first();
    return {QLatin1String(id),
            QLatin1String(label),
            host,
            QLatin1String(icon),
            QStringLiteral("https://") + host + QLatin1String(path),
            std::move(hosts),
            std::move(slugs)};
}

QList<BrowserService> makeCatalog()
{
    // The hosts are placeholders kept in this one table; a deployment replaces them with the
    // real sign-in addresses of the services it offers.
    return {
        entry("messenger-web", "Messenger", "message", {QStringLiteral("messenger.example")}, "/login",
              {QStringLiteral("messenger")}),
        entry("chat-web", "Chat app", "bubble.left", {QStringLiteral("chat.example")}, "/web",
              {QStringLiteral("chat-app")}),
        entry("professional-network", "Professional network", "briefcase",
              {QStringLiteral("professional.example"), QStringLiteral("pro-network.example")}, "/login",
              {QStringLiteral("professional-network")}),
        entry("social-network", "Social network", "person.2", {QStringLiteral("social.example")}, "/login",
              {QStringLiteral("social-network")}),
        entry("google-account", "Google account", "person.crop.circle",
              {QStringLiteral("accounts.google.com"), QStringLiteral("myaccount.google.com")}, "/",
              {QStringLiteral("google"), QStringLiteral("google-mail"), QStringLiteral("google-calendar")}),
        entry("photo-network", "Photo network", "camera", {QStringLiteral("photos.example")}, "/accounts/login",
              {QStringLiteral("photo-network")}),
        entry("video-network", "Video network", "video", {QStringLiteral("video.example")}, "/login",
              {QStringLiteral("video-network")}),
        entry("business-reviews", "Business reviews", "star", {QStringLiteral("reviews.example")}, "/login",
              {QStringLiteral("business-reviews")}),
        entry("business-profile", "Business profile", "building.2", {QStringLiteral("business.example")}, "/",
              {QStringLiteral("business-profile")}),
        entry("local-listings", "Local listings", "mappin", {QStringLiteral("listings.example")}, "/login",
              {QStringLiteral("local-listings")}),
        entry("company-reviews", "Company reviews", "hand.thumbsup", {QStringLiteral("company-reviews.example")},
              "/login", {QStringLiteral("company-reviews")}),
        entry("seller-console", "Marketplace seller", "bag", {QStringLiteral("sellers.example")}, "/signin",
              {QStringLiteral("marketplace-seller")}),
        entry("rental-host", "Holiday rental host", "house", {QStringLiteral("host.rentals.example")}, "/login",
              {QStringLiteral("rental-host")}),
        entry("travel-reviews", "Travel reviews", "airplane", {QStringLiteral("travel.example")}, "/login",
              {QStringLiteral("travel-reviews")}),
        entry("forum", "Discussion forum", "bubble.left.and.bubble.right", {QStringLiteral("forum.example")}, "/login",
              {QStringLiteral("forum")}),
        entry("shop-admin", "Shop admin", "cart", {QStringLiteral("shop-admin.example")}, "/login",
              {QStringLiteral("shop")}),
        entry("ads-console", "Ads console", "megaphone", {QStringLiteral("ads.example")}, "/", {QStringLiteral("ads")}),
        entry("short-posts", "Short posts", "text.bubble", {QStringLiteral("posts.example")}, "/login",
              {QStringLiteral("short-posts")}),
    };
}

bool hostBelongs(const QString& host, const QStringList& hosts)
{
    const QString h = host.toLower();
    for (const QString& own : hosts) {
        if (h == own || h.endsWith(QLatin1Char('.') + own))
            return true;
    }
    return false;
}

} // namespace

QString connectionStateName(BrowserConnectionState state)
{
    switch (state) {
    case BrowserConnectionState::connected:
        return QStringLiteral("connected");
    case BrowserConnectionState::pending:
        return QStringLiteral("pending");
    case BrowserConnectionState::disconnected:
        break;
    }
    return QStringLiteral("disconnected");
}

const QList<BrowserService>& BrowserServiceCatalog::all()
{
    static const QList<BrowserService> catalog = makeCatalog();
    return catalog;
}

std::optional<BrowserService> BrowserServiceCatalog::find(const QString& id)
{
    for (const BrowserService& s : all()) {
        if (s.id == id)
            return s;
    }
    return std::nullopt;
}

std::optional<BrowserService> BrowserServiceCatalog::forHost(const QString& host)
{
    for (const BrowserService& s : all()) {
        if (hostBelongs(host, s.hosts))
            return s;
    }
    return std::nullopt;
}

BrowserConnectionState BrowserServiceCatalog::state(const BrowserService& service,
                                                    const QList<BrowserHandoffSite>& handoffSites,
                                                    const QStringList& connectedSlugs, const QString& pendingId)
{
    for (const BrowserHandoffSite& site : handoffSites) {
        // A site may come as a bare host or as an address.
        const QUrl url(site.hostname);
        const QString host = url.host().isEmpty() ? site.hostname : url.host();
        if (hostBelongs(host, service.hosts))
            return BrowserConnectionState::connected;
    }
    for (const QString& slug : connectedSlugs) {
        if (service.accountSlugs.contains(slug, Qt::CaseInsensitive))
            return BrowserConnectionState::connected;
    }
    return service.id == pendingId ? BrowserConnectionState::pending : BrowserConnectionState::disconnected;
}

} // namespace halvex
