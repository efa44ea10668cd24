#pragma once
// The user's computer for one employee as the service reports it: the browser provider, the live
// browser sessions, the sites handed over to the user; and the answer to opening a session.
#include "core/json/JsonReader.h"

#include <QList>
#include <QString>

#include <optional>

namespace halvex {

struct ComputerProvider {
    QString id, label;
    bool configured = false;
    std::optional<bool> residentialProxy;
    static ComputerProvider decode(const JsonReader& json);
};

// A live browser session of an employee.
struct AgentBrowserSession {
    QString agentId;
    std::optional<QString> agentName, liveViewUrl, sessionKind, goalId, sessionId, expiresAt;
    static AgentBrowserSession decode(const JsonReader& json);
};

// A site the employee handed over to the user (to sign in, for example).
struct BrowserHandoffSite {
    QString hostname;
    std::optional<QString> at;
    static BrowserHandoffSite decode(const JsonReader& json);
};

struct ComputerState {
    QString status, provider;
    std::optional<bool> byok;
    QList<ComputerProvider> providers;
    std::optional<bool> hasProfile, sessionActive;
    std::optional<QString> liveViewUrl, sessionExpiresAt, sessionId, targetId, busyBy, lastLoginAt;
    std::optional<bool> useProxy;
    std::optional<QString> proxyCountry, residentialProxySlug;
    QList<AgentBrowserSession> agentSessions;
    QList<BrowserHandoffSite> handoffSites;
    static ComputerState decode(const JsonReader& json);
};

struct ComputerStateResponse {
    bool ok = false;
    ComputerState computer;
    static ComputerStateResponse decode(const JsonReader& json);
};

struct ComputerOpenResponse {
    bool ok = false;
    std::optional<bool> reused;
    std::optional<QString> liveViewUrl, sessionId, targetId, expiresAt;
    static ComputerOpenResponse decode(const JsonReader& json);
};

} // namespace halvex
