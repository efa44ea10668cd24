#pragma once
// The wallet and the plan. Stateless.
#include "billing/model/BillingRecords.h"
#include "core/net/APIClient.h"

#include <qcorotask.h>

namespace halvex {

class BillingService {
public:
    explicit BillingService(APIClient& api) : m_api(&api) {}

    QCoro::Task<WalletResponse> wallet(CancelToken token = {});
    QCoro::Task<UserPlanResponse> plan(CancelToken token = {});

private:
    APIClient* m_api;
};

} // namespace halvex
