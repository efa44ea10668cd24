#include "routes/Routes.h"

#include "Http.h"

namespace service {

void addTestRoutes(httplib::Server& svr, Service& s)
{
    svr.Post("/__test/faults", [&](const httplib::Request& req, httplib::Response& res) {
        auto body = parseBody(req, res);
        if (!body) return;
        std::lock_guard guard(s.faults.lock);
        if (body->contains("latency_ms") && (*body)["latency_ms"].is_number_integer()) s.faults.latencyMs = (*body)["latency_ms"];
        if (body->contains("drop_next") && (*body)["drop_next"].is_number_integer()) s.faults.dropNext = (*body)["drop_next"];
        if (body->contains("fail_next") && (*body)["fail_next"].is_object()) {
            const json& f = (*body)["fail_next"];
            s.faults.failCount = f.value("count", 1);
            s.faults.failStatus = f.value("status", 500);
            s.faults.failError = f.value("error", std::string("Injected failure"));
        }
        if (body->value("expire_sessions", false))
            s.db->transaction([&] { s.db->execute("DELETE FROM sessions"); });
        sendJson(res, {{"ok", true}});
    });
    svr.Delete("/__test/faults", [&](const httplib::Request&, httplib::Response& res) {
        std::lock_guard guard(s.faults.lock);
        s.faults.latencyMs = 0;
        s.faults.failCount = 0;
        s.faults.dropNext = 0;
        sendJson(res, {{"ok", true}});
    });
}

} // namespace service
