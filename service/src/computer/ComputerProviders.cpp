#include "computer/ComputerProviders.h"

#include "computer/ComputerRuntime.h"
#include "workers/WorkerClock.h"

namespace service {

json computerProviders()
{
    return json::array({{{"id", kLocalChromium},
                         {"label", "This computer (Chromium)"},
                         {"configured", ComputerRuntime::chromium().has_value()},
                         {"residential_proxy", false}},
                        {{"id", kNoProvider}, {"label", "No browser"}, {"configured", true}}});
}

bool knownProvider(const std::string& id) { return id == kLocalChromium || id == kNoProvider; }

std::string chosenProvider(Service& s, long long uid)
{
    const auto rows = s.db->query("SELECT provider FROM computer_providers WHERE user_id = ?", {uid});
    if (!rows.empty() && knownProvider(text(rows[0][0])))
        return text(rows[0][0]);
    return ComputerRuntime::chromium() ? kLocalChromium : kNoProvider;
}

void chooseProvider(Service& s, long long uid, const std::string& provider)
{
    s.db->transaction([&] {
        s.db->execute(
            "INSERT INTO computer_providers (user_id, provider, updated_at) VALUES (?, ?, ?) "
            "ON CONFLICT (user_id) DO UPDATE SET provider = excluded.provider, updated_at = excluded.updated_at",
            {uid, provider, workers::serviceIso(s)});
    });
}

} // namespace service
