// The demo workspace's wallet: on the Pro plan since a month ago, a welcome grant and one top-up,
// and a turn's worth of spend for each of the last thirty days (weekends quieter), so the billing
// screen's daily chart and the usage meter have something to show.
#include "demo/DemoSeed.h"

#include "billing/Ledger.h"
#include "billing/Plans.h"
#include "google/ServiceClock.h"

namespace service {

void seedWallet(Service& s, long long uid)
{
    using namespace billing;
    const long long now = serviceNow(s);
    const long long monthAgo = now - 31 * 86400;
    choosePlan(s, uid, *findPlan("pro"), monthAgo);
    appendEntry(s, uid, {"grant", 25 * kMicroPerUsd, "Welcome grant", std::nullopt, monthAgo + 60});
    appendEntry(s, uid, {"top_up", 50 * kMicroPerUsd, "Top-up from the web store", std::nullopt, now - 20 * 86400});
    const char* const employees[] = {"Researcher", "Support Desk", "Growth lead", "writer-growth"};
    for (int daysAgo = 29; daysAgo >= 0; --daysAgo) {
        const bool weekend = daysAgo % 7 == 2 || daysAgo % 7 == 3;
        const long long cents = (35 + 9 * ((daysAgo * 37) % 11)) * (weekend ? 2 : 5) / 5;
        appendEntry(s, uid,
                    {"turn_spend", -cents * (kMicroPerUsd / 100), std::string("Turn with ") + employees[daysAgo % 4],
                     std::nullopt, now - daysAgo * 86400 - 3600});
    }
}

} // namespace service
