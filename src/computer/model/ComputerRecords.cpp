#include "computer/model/ComputerRecords.h"

namespace halvex {

ComputerProvider ComputerProvider::decode(const JsonReader& j)
{
    return {j.required<QString>("id"), j.required<QString>("label"), j.required<bool>("configured"),
            j.optional<bool>("residential_proxy")};
}

AgentBrowserSession AgentBrowserSession::decode(const JsonReader& j)
{
    return {j.required<QString>("agent_id"),      j.optional<QString>("agent_name"),
            j.optional<QString>("live_view_url"), j.optional<QString>("session_kind"),
            j.optional<QString>("goal_id"),       j.optional<QString>("session_id"),
            j.optional<QString>("expires_at")};
}

BrowserHandoffSite BrowserHandoffSite::decode(const JsonReader& j)
{
    return {j.required<QString>("hostname"), j.optional<QString>("at")};
}

ComputerState ComputerState::decode(const JsonReader& j)
{
    ComputerState s;
    s.status = j.required<QString>("status");
    s.provider = j.required<QString>("provider");
    s.byok = j.optional<bool>("byok");
    s.providers = j.required<QList<ComputerProvider>>("providers");
    s.hasProfile = j.optional<bool>("has_profile");
    s.sessionActive = j.optional<bool>("session_active");
    s.liveViewUrl = j.optional<QString>("live_view_url");
    s.sessionExpiresAt = j.optional<QString>("session_expires_at");
    s.sessionId = j.optional<QString>("session_id");
    s.targetId = j.optional<QString>("target_id");
    s.busyBy = j.optional<QString>("busy_by");
    s.lastLoginAt = j.optional<QString>("last_login_at");
    s.useProxy = j.optional<bool>("use_proxy");
    s.proxyCountry = j.optional<QString>("proxy_country");
    s.residentialProxySlug = j.optional<QString>("residential_proxy_slug");
    s.agentSessions = j.optional<QList<AgentBrowserSession>>("agent_sessions").value_or(QList<AgentBrowserSession>());
    s.handoffSites = j.optional<QList<BrowserHandoffSite>>("handoff_sites").value_or(QList<BrowserHandoffSite>());
    return s;
}

ComputerStateResponse ComputerStateResponse::decode(const JsonReader& j)
{
    return {j.optional<bool>("ok").value_or(false), j.required<ComputerState>("computer")};
}

ComputerOpenResponse ComputerOpenResponse::decode(const JsonReader& j)
{
    return {j.optional<bool>("ok").value_or(false), j.optional<bool>("reused"),
            j.optional<QString>("live_view_url"),   j.optional<QString>("session_id"),
            j.optional<QString>("target_id"),       j.optional<QString>("expires_at")};
}

} // namespace halvex
