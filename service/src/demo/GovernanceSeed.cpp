// The demo workspace's governance: the support desk's mandate and e-mail address, a few calls
// in two call logs, a connected CRM and a payout account.
#include "demo/DemoSeed.h"

#include "google/ServiceClock.h"
#include "governance/ChannelStore.h"
#include "governance/SecretVault.h"
#include "governance/VoiceCalls.h"
#include "workers/WorkerClock.h"

namespace service {

namespace {

void seedCalls(Service& s, long long uid, long long now)
{
    const NewCall calls[] = {
        {"a-support", "completed", "Refund for order 1042",
         "Confirmed the refund went through and e-mailed the receipt.", now - 2 * 86400 - 5400, 184},
        {"a-support", "missed", "Missed call from +1 415 555 0148", "No voicemail left.", now - 26 * 3600,
         std::nullopt},
        {"a-support", "completed", "Delivery delay on order 1057",
         "The parcel is held at the depot; promised an update by Friday.", now - 5 * 3600, 312},
        {"a-researcher", "completed", "Pricing check with Northwind Analytics",
         "Annual plans start at $12 a seat; a 15% discount for two-year terms.", now - 3 * 86400, 421},
        {"a-researcher", "completed", "Follow-up with Blue Harbor support",
         "Support answers within the hour on business days.", now - 86400 - 7200, 256},
    };
    for (const auto& call : calls)
        insertCall(s, uid, call);
}

} // namespace

void seedGovernance(Service& s, long long uid)
{
    const long long now = serviceNow(s);
    seedCalls(s, uid, now);
    const json mandate{{"version", 1},
                       {"af_level", 2},
                       {"financial_authority", {{"max_standard_quote_usd", 250}, {"max_discount_pct", 10}}},
                       {"communication_authority", {{"allowed_channels", {"email", "phone"}}}},
                       {"stop_conditions", {"policy_violation", "customer_asks_for_a_human"}}};
    s.db->execute("INSERT INTO agent_mandates (agent_id, user_id, json, updated_at) VALUES ('a-support', ?, ?, ?)",
                  {uid, mandate.dump(), workers::isoAt(now)});
    std::string channelId;
    const std::string address = "support@agents.halvex.local";
    storeChannel(s, uid, "a-support", {"email", "email", address, {{"address", address}}, std::nullopt}, channelId);
    s.db->execute("INSERT INTO connected_accounts (id, user_id, connector_slug, auth_kind, status, display_name, "
                  "username, sealed_credentials, last_validated_at, created_at) VALUES ('ca-demo-hubspot', ?, "
                  "'hubspot', 'api_key', 'active', 'HubSpot (sales@halvex.example)', 'sales@halvex.example', ?, ?, ?)",
                  {uid, sealSecret(s, json{{"api_key", "demo-hubspot-key"}}.dump()), workers::isoAt(now - 3600),
                   workers::isoAt(now - 12 * 86400)});
    s.db->execute("INSERT INTO payment_accounts (id, user_id, provider, label, currency, is_valid, created_at) "
                  "VALUES ('pa-demo-stripe', ?, 'stripe', 'Stripe · payouts to •••• 4242', 'USD', 1, ?)",
                  {uid, workers::isoAt(now - 20 * 86400)});
}

} // namespace service
