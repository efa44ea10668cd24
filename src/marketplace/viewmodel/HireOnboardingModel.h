#pragma once
// Hiring one marketplace employee: an introduction, then an optional first goal, then the hire.
// Hiring one already hired opens the existing employee instead of failing.
#include "core/async/CancelToken.h"
#include "marketplace/service/MarketplaceService.h"
#include "projects/service/GoalService.h"

#include <QObject>

#include <functional>

namespace halvex {

class HireOnboardingModel : public QObject {
    Q_OBJECT
public:
    struct Target {
        QString slug;
        QString label;
    };
    static constexpr int totalSteps = 2;

    HireOnboardingModel(APIClient& api, MarketplaceWorker worker, std::optional<Target> team = std::nullopt,
                        std::optional<Target> project = std::nullopt, QObject* parent = nullptr);

    const MarketplaceWorker& worker() const { return m_worker; }
    int step() const { return m_step; }
    void setStep(int step);
    QString goalText;
    bool hiring() const { return m_hiring; }
    const std::optional<QString>& error() const { return m_error; }

    // Receives the hired employee's id once the hire (and the first goal, when given) is done.
    std::function<void(const QString&)> onHired;

    QCoro::Task<void> hire();
    void stop() { m_scope.cancelAll(); }

    static QString hireWithoutGoalLabel() { return QStringLiteral("Hire without a goal"); }
    static QString hireNowLabel() { return QStringLiteral("Hire now, set a goal later"); }
    static QString goalHint()
    {
        return QStringLiteral("Optional — pick a starting outcome, write your own, or hire without one.");
    }

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    MarketplaceService m_service;
    GoalService m_goals;
    MarketplaceWorker m_worker;
    std::optional<Target> m_team;
    std::optional<Target> m_project;
    int m_step = 0;
    bool m_hiring = false;
    std::optional<QString> m_error;
    TaskScope m_scope;
};

} // namespace halvex
