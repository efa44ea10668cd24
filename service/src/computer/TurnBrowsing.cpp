#include "computer/TurnBrowsing.h"

#include "agents/AgentStore.h"
#include "computer/ComputerProviders.h"
#include "computer/ComputerRuntime.h"
#include "intake/DemoSites.h"

#include <cstdio>
#include <functional>

namespace service {

void browseForTurn(Service& s, long long uid, const std::string& agentId, const std::string& url)
{
    if (!s.computer || !ComputerRuntime::chromium() || agentId.empty())
        return;
    try {
        if (chosenProvider(s, uid) != kLocalChromium)
            return;
        const auto agent = findAgent(s, uid, agentId);
        const auto& sites = intake::demoSites();
        if (!agent || sites.empty())
            return;
        // The same address always lands on the same demo site.
        const auto& site = sites[std::hash<std::string>{}(url) % sites.size()];
        s.computer->browseLater(uid, agentId, agent->value("name", std::string("Your employee")),
                                s.origin() + "/demo-sites/" + site.key + "/");
    } catch (const std::exception& e) {
        // Watching is a convenience: the turn goes on without it.
        std::fprintf(stderr, "computer: no browsing for %s: %s\n", agentId.c_str(), e.what());
    }
}

} // namespace service
