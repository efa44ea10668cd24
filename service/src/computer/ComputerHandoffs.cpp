#include "computer/ComputerHandoffs.h"

#include "workers/WorkerClock.h"

#include <algorithm>
#include <cctype>

namespace service {

std::string handoffHost(const std::string& url)
{
    std::string rest;
    for (const char* scheme : {"http://", "https://"}) {
        if (url.rfind(scheme, 0) == 0)
            rest = url.substr(std::char_traits<char>::length(scheme));
    }
    // The authority ends at the first path, query or fragment mark; credentials and port are not the host.
    rest = rest.substr(0, rest.find_first_of("/?#"));
    if (const auto at = rest.rfind('@'); at != std::string::npos)
        rest = rest.substr(at + 1);
    rest = rest.substr(0, rest.find(':'));
    const bool plain = std::all_of(rest.begin(), rest.end(),
                                   [](unsigned char c) { return std::isalnum(c) || c == '.' || c == '-'; });
    if (!plain || rest.size() > 253)
        return {};
    std::transform(rest.begin(), rest.end(), rest.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return rest;
}

void recordHandoff(Service& s, long long uid, const std::string& agentId, const std::string& url)
{
    const std::string host = handoffHost(url);
    if (host.empty())
        return;
    s.db->execute("INSERT INTO computer_handoffs (user_id, agent_id, hostname, at) VALUES (?, ?, ?, ?) "
                  "ON CONFLICT (user_id, agent_id, hostname) DO UPDATE SET at = excluded.at",
                  {uid, agentId, host, workers::serviceIso(s)});
}

json handoffSites(Service& s, long long uid, const std::string& agentId)
{
    json sites = json::array();
    const auto rows = s.db->query("SELECT hostname, at FROM computer_handoffs WHERE user_id = ? AND agent_id = ? "
                                  "ORDER BY at DESC, hostname",
                                  {uid, agentId});
    for (const auto& row : rows)
        sites.push_back({{"hostname", text(row[0])}, {"at", text(row[1])}});
    return sites;
}

} // namespace service
