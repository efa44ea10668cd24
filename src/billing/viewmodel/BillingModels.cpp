#include "billing/viewmodel/BillingModels.h"

namespace halvex {

QCoro::Task<void> WalletViewModel::load()
{
    const CancelToken token = m_load.next();
    m_loading = true;
    Q_EMIT changed();
    try {
        WalletResponse answer = co_await m_service.wallet(token);
        if (token.isCancelled())
            co_return;
        m_wallet = answer.wallet;
        m_transactions = std::move(answer.recentTransactions);
        m_error.reset();
        m_needsLogin = false;
    } catch (const APIError& e) {
        if (token.isCancelled() || isCancellation(e))
            co_return;
        if (e.kind() == APIError::Kind::unauthorized)
            m_needsLogin = true;
        else
            m_error = e.description();
    }
    m_loading = false;
    Q_EMIT changed();
}

QCoro::Task<void> PlanSettingsModel::load()
{
    const CancelToken token = m_load.next();
    m_loading = true;
    Q_EMIT changed();
    try {
        UserPlanResponse answer = co_await m_service.plan(token);
        if (token.isCancelled())
            co_return;
        m_plan = std::move(answer);
    } catch (const APIError&) {
        if (token.isCancelled())
            co_return;
    }
    m_loading = false;
    Q_EMIT changed();
}

QCoro::Task<void> SidebarUsageModel::refresh()
{
    if (m_loading)
        co_return;
    const CancelToken token = m_load.next();
    m_loading = true;
    try {
        const UserPlanResponse answer = co_await m_service.plan(token);
        if (token.isCancelled())
            co_return;
        m_snapshot = SidebarUsageSnapshot::make(answer);
        if (m_snapshot)
            m_error.reset();
        else
            m_error = QStringLiteral("Usage unavailable");
    } catch (const APIError& e) {
        if (token.isCancelled() || isCancellation(e))
            co_return;
        m_error = e.description();
    }
    m_loading = false;
    Q_EMIT changed();
}

} // namespace halvex
