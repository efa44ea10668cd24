#pragma once
// The web services the in-app browser offers for signing the employee's browser in, and how far
// each one is: signed in (the employee handed the site over, or an account of it is connected),
// a sign-in under way in the open session, or nothing yet.
#include "computer/model/ComputerRecords.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace halvex {

struct BrowserService {
    QString id, label, host;
    QString icon; // a symbol name of the interface's icon table
    QString startURL;
    QStringList hosts;        // every host that belongs to the service, `host` first
    QStringList accountSlugs; // connector slugs of connected accounts that stand for a sign-in
};

enum class BrowserConnectionState { disconnected, pending, connected };

QString connectionStateName(BrowserConnectionState state);

class BrowserServiceCatalog {
public:
    static constexpr int size = 18;
    static const QList<BrowserService>& all();
    static std::optional<BrowserService> find(const QString& id);
    // The service a host belongs to (the host itself or a subdomain of one of its hosts).
    static std::optional<BrowserService> forHost(const QString& host);

    // Connected when a handed-over site or a connected account's slug belongs to the service;
    // pending while a sign-in to it is open (`pendingId`); disconnected otherwise.
    static BrowserConnectionState state(const BrowserService& service, const QList<BrowserHandoffSite>& handoffSites,
                                        const QStringList& connectedSlugs = {}, const QString& pendingId = {});
};

} // namespace halvex
