#pragma once
// The monthly plans and each user's usage of theirs. A plan's allowance and the usage are counted
// in hundreds of ◆ (the app shows them ×100); usage is this calendar month's charges (UTC, on
// the service clock) and may pass the allowance.
#include "core/Http.h"
#include "core/Service.h"

#include <optional>
#include <string>
#include <vector>

namespace service::billing {

struct Plan {
    const char* key;
    const char* name;
    double priceUsd;
    long long tokenLimit; // hundreds of ◆ a month
};

const std::vector<Plan>& plans();
const Plan* findPlan(const std::string& key);
// The user's plan; "starter" until they pick one.
const Plan& currentPlan(Service& s, long long uid);
// Inside the caller's transaction: the plan and a "plan_change" entry (no charge here: the store
// bills plans on its own).
void choosePlan(Service& s, long long uid, const Plan& plan, std::optional<long long> at = std::nullopt);

// {"plan", "usage", "plans"}
nlohmann::json planAnswer(Service& s, long long uid);

} // namespace service::billing
