#pragma once
// Hiring a ready-made employee: a clone of the listing becomes the user's own agent, in the
// workspace, a team or a project. One hire per listing: hiring again points at the first one.
#include "core/Http.h"
#include "core/Service.h"
#include "marketplace/MarketplaceCatalog.h"

namespace service::marketplace {

struct HireOutcome {
    int status = 201;
    json body; // the answer: {"id", "agent"}, or the error with "code" and "existing_agent_id"
};

// Runs inside the caller's transaction, so two hires at once cannot both clone.
HireOutcome hire(Service& s, long long uid, const Listing& listing, const json& request);
// How many times the listing was hired, counting hires made before this service.
long long installsOf(Service& s, const Listing& listing);

} // namespace service::marketplace
