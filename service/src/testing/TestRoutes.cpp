// Test-mode switches: injected failures and latency, an expired session, the event stream
// faults, and a wallet set to what a test needs.
#include "Routes.h"

#include "auth/Sessions.h"
#include "billing/Ledger.h"
#include "chat/ChatRuntime.h"
#include "core/Http.h"
#include "core/JsonFields.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace service {

namespace {

void readInt(const json& body, const char* key, int& into)
{
    if (!body.contains(key) || !body[key].is_number_integer())
        return;
    into = int(std::clamp<long long>(body[key].get<long long>(), 0, 1'000'000'000));
}

// An HTTP status a client can act on; anything else leaves `into` as it was.
void readStatus(const json& body, const char* key, int& into)
{
    if (body.contains(key) && body[key].is_number_integer() && body[key].get<long long>() >= 400
        && body[key].get<long long>() <= 599)
        into = body[key].get<int>();
}

void applyStreamFaults(const json& body, Faults& f)
{
    readInt(body, "stream_drop_after", f.streamDropAfter);
    readInt(body, "stream_delay_ms", f.streamDelayMs);
    readInt(body, "stream_duplicate_next", f.streamDuplicateNext);
    readInt(body, "stream_reorder_next", f.streamReorderNext);
    if (body.contains("stream_fail_next") && body["stream_fail_next"].is_object()) {
        const json& fail = body["stream_fail_next"];
        f.streamFailCount = 1;
        f.streamFailStatus = 503;
        readInt(fail, "count", f.streamFailCount);
        readStatus(fail, "status", f.streamFailStatus);
    }
    int failForMs = -1;
    readInt(body, "stream_fail_for_ms", failForMs);
    if (failForMs >= 0) {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        f.streamFailUntilMs = std::chrono::duration_cast<std::chrono::milliseconds>(now).count() + failForMs;
        readStatus(body, "stream_fail_status", f.streamFailStatus);
    }
}

} // namespace

void addTestRoutes(httplib::Server& svr, Service& s)
{
    svr.Post("/__test/faults", [&](const httplib::Request& req, httplib::Response& res) {
        auto body = parseBody(req, res);
        if (!body)
            return;
        {
            std::lock_guard guard(s.faults.lock);
            readInt(*body, "latency_ms", s.faults.latencyMs);
            readInt(*body, "drop_next", s.faults.dropNext);
            if (body->contains("fail_next") && (*body)["fail_next"].is_object()) {
                const json& f = (*body)["fail_next"];
                s.faults.failCount = 1;
                s.faults.failStatus = 500;
                s.faults.failError = "Injected failure";
                readInt(f, "count", s.faults.failCount);
                readStatus(f, "status", s.faults.failStatus);
                if (f.contains("error") && f["error"].is_string())
                    s.faults.failError = f["error"];
            }
            applyStreamFaults(*body, s.faults);
        }
        if (const auto it = body->find("expire_sessions"); it != body->end() && it->is_boolean() && it->get<bool>())
            s.db->transaction([&] { s.db->execute("DELETE FROM sessions"); });
        sendJson(res, {{"ok", true}});
    });
    svr.Delete("/__test/faults", [&](const httplib::Request&, httplib::Response& res) {
        chatRuntime(s).hub.releaseHeld();
        std::lock_guard guard(s.faults.lock);
        s.faults.latencyMs = 0;
        s.faults.failCount = 0;
        s.faults.dropNext = 0;
        s.faults.streamDropAfter = 0;
        s.faults.streamFailCount = 0;
        s.faults.streamFailUntilMs = 0;
        s.faults.streamFailStatus = 503;
        s.faults.streamDelayMs = 0;
        s.faults.streamDuplicateNext = 0;
        s.faults.streamReorderNext = 0;
        sendJson(res, {{"ok", true}});
    });
    // The caller's wallet, or the demo account's without a session, left with exactly this much available.
    svr.Post("/__test/wallet", [&](const httplib::Request& req, httplib::Response& res) {
        auto body = parseBody(req, res);
        if (!body)
            return;
        const auto credits
            = body->contains("available_credits") ? finiteNumber((*body)["available_credits"]) : std::nullopt;
        if (!credits || std::fabs(*credits) > 1e12)
            return sendError(res, 400, "available_credits must be a number");
        const auto user = currentUser(s, req);
        const auto demo = s.db->query("SELECT id FROM users WHERE email = ?", {std::string(kDemoEmail)});
        if (!user && demo.empty())
            return sendError(res, 404, "No demo account");
        const long long uid = user ? userId(*user) : integer(demo[0][0]);
        billing::setAvailable(s, uid, std::llround(*credits * billing::kMicroPerCredit));
        sendJson(res,
                 {{"ok", true},
                  {"available_credits", billing::walletJson(billing::openWallet(s, uid))["available_credits"]}});
    });
    // How many event streams are open, so tests can see a closed client free its connection.
    svr.Get("/__test/streams", [&](const httplib::Request&, httplib::Response& res) {
        sendJson(res, {{"open", chatRuntime(s).hub.openConnections()}});
    });
}

} // namespace service
