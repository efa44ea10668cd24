#pragma once
// The billing screen's wallet and plan, and the usage meter under the sidebar.
#include "billing/service/BillingService.h"
#include "core/async/LatestOnly.h"

#include <QObject>

namespace halvex {

class WalletViewModel : public QObject {
    Q_OBJECT
public:
    explicit WalletViewModel(APIClient& api, QObject* parent = nullptr) : QObject(parent), m_service(api) {}

    const std::optional<WalletSnapshot>& wallet() const { return m_wallet; }
    const QList<WalletTransaction>& transactions() const { return m_transactions; }
    bool isLoading() const { return m_loading; }
    bool needsLogin() const { return m_needsLogin; }
    const std::optional<QString>& error() const { return m_error; }

    QCoro::Task<void> load();

Q_SIGNALS:
    void changed();

private:
    BillingService m_service;
    std::optional<WalletSnapshot> m_wallet;
    QList<WalletTransaction> m_transactions;
    bool m_loading = false;
    bool m_needsLogin = false;
    std::optional<QString> m_error;
    LatestOnly m_load;
};

class PlanSettingsModel : public QObject {
    Q_OBJECT
public:
    explicit PlanSettingsModel(APIClient& api, QObject* parent = nullptr) : QObject(parent), m_service(api) {}

    const std::optional<UserPlanResponse>& plan() const { return m_plan; }
    bool isLoading() const { return m_loading; }
    // A failed load shows nothing.
    QCoro::Task<void> load();

Q_SIGNALS:
    void changed();

private:
    BillingService m_service;
    std::optional<UserPlanResponse> m_plan;
    bool m_loading = false;
    LatestOnly m_load;
};

class SidebarUsageModel : public QObject {
    Q_OBJECT
public:
    explicit SidebarUsageModel(APIClient& api, QObject* parent = nullptr) : QObject(parent), m_service(api) {}

    const std::optional<SidebarUsageSnapshot>& snapshot() const { return m_snapshot; }
    bool isLoading() const { return m_loading; }
    const std::optional<QString>& error() const { return m_error; }

    // Does nothing while a refresh runs.
    QCoro::Task<void> refresh();
    void stop()
    {
        m_load.cancel();
        m_loading = false;
    }

Q_SIGNALS:
    void changed();

private:
    BillingService m_service;
    std::optional<SidebarUsageSnapshot> m_snapshot;
    bool m_loading = false;
    std::optional<QString> m_error;
    LatestOnly m_load;
};

} // namespace halvex
