#include "billing/service/BillingService.h"

namespace halvex {

QCoro::Task<WalletResponse> BillingService::wallet(CancelToken token)
{
    const QString path = QStringLiteral("/api/v2/user/wallet");
    const QueryItems none;
    QCoro::Task<WalletResponse> read = m_api->get<WalletResponse>(path, none, std::move(token));
    co_return co_await std::move(read);
}

QCoro::Task<UserPlanResponse> BillingService::plan(CancelToken token)
{
    const QString path = QStringLiteral("/api/v2/user/plan");
    const QueryItems none;
    QCoro::Task<UserPlanResponse> read = m_api->get<UserPlanResponse>(path, none, std::move(token));
    co_return co_await std::move(read);
}

} // namespace halvex
