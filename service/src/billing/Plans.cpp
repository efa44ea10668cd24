#include "billing/Plans.h"

#include "billing/Ledger.h"
#include "google/ServiceClock.h"
#include "governance/Rows.h"
#include "workers/WorkerClock.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace service::billing {

using nlohmann::json;

namespace {

// Epoch seconds of the first moment of the month `now` falls in, moved by `months`.
long long monthStart(long long now, int months)
{
    const std::time_t t = static_cast<std::time_t>(now);
    std::tm tm{};
    gmtime_r(&t, &tm);
    std::tm start{};
    start.tm_year = tm.tm_year;
    start.tm_mon = tm.tm_mon + months;
    start.tm_mday = 1;
    return static_cast<long long>(timegm(&start));
}

// Two decimals, the precision the app shows.
double hundredths(double v) { return std::round(v * 100.0) / 100.0; }

json usageOf(Service& s, long long uid, const Plan& plan, long long from)
{
    const long long spentMicro = -integer(
        s.db->query("SELECT coalesce(sum(amount_micro), 0) FROM wallet_entries WHERE user_id = ? AND created_at >= ? "
                    "AND type IN ('turn_spend', 'run_spend') AND amount_micro < 0",
                    {uid, from})
            .at(0)
            .at(0));
    const double spentHundreds = creditsOf(spentMicro) / 100.0;
    const double limit = static_cast<double>(plan.tokenLimit);
    return {{"spent_usd", usdOf(spentMicro)},
            {"spent_tokens", hundredths(spentHundreds)},
            {"token_limit", plan.tokenLimit},
            {"tokens_left", hundredths(std::max(0.0, limit - spentHundreds))},
            {"percent_used", hundredths(spentHundreds / limit * 100.0)}};
}

json optionJson(const Plan& p)
{
    return {{"key", p.key}, {"name", p.name}, {"price_usd", p.priceUsd}, {"token_limit", p.tokenLimit}};
}

} // namespace

const std::vector<Plan>& plans()
{
    static const std::vector<Plan> list{
        {"starter", "Starter", 19, 500},
        {"pro", "Pro", 79, 2500},
        {"scale", "Scale", 249, 10000},
    };
    return list;
}

const Plan* findPlan(const std::string& key) { return findByKey(plans(), key, &Plan::key); }

const Plan& currentPlan(Service& s, long long uid)
{
    const auto rows = s.db->query("SELECT plan_key FROM user_plans WHERE user_id = ?", {uid});
    const Plan* plan = rows.empty() ? nullptr : findPlan(text(rows[0][0]));
    return plan ? *plan : plans().front();
}

void choosePlan(Service& s, long long uid, const Plan& plan, std::optional<long long> at)
{
    s.db->execute("INSERT INTO user_plans (user_id, plan_key, changed_at) VALUES (?, ?, ?) "
                  "ON CONFLICT(user_id) DO UPDATE SET plan_key = excluded.plan_key, changed_at = excluded.changed_at",
                  {uid, std::string(plan.key), at.value_or(serviceNow(s))});
    appendEntry(s, uid, {"plan_change", 0, std::string("Switched to the ") + plan.name + " plan", std::nullopt, at});
}

json planAnswer(Service& s, long long uid)
{
    const Plan& plan = currentPlan(s, uid);
    const long long now = serviceNow(s);
    json options = json::array();
    for (const Plan& p : plans())
        options.push_back(optionJson(p));
    json current = optionJson(plan);
    current["current_period_end"] = workers::isoAt(monthStart(now, 1));
    return {{"plan", current}, {"usage", usageOf(s, uid, plan, monthStart(now, 0))}, {"plans", options}};
}

} // namespace service::billing
