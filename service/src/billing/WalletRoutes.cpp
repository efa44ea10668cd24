// The signed-in user's wallet (balance, holds, recent entries) and plan with this month's usage.
#include "Routes.h"

#include "auth/Sessions.h"
#include "billing/Ledger.h"
#include "billing/Plans.h"

namespace service {

void addWalletRoutes(httplib::Server& svr, Service& s)
{
    svr.Get("/api/v2/user/wallet", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        const auto wallet = billing::openWallet(s, userId(*user));
        sendJson(res,
                 {{"wallet", billing::walletJson(wallet)},
                  {"recent_transactions", billing::recentTransactions(s, userId(*user))}});
    });
    svr.Get("/api/v2/user/plan", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (!user)
            return;
        sendJson(res, billing::planAnswer(s, userId(*user)));
    });
}

} // namespace service
