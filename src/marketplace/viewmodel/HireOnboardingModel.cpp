#include "marketplace/viewmodel/HireOnboardingModel.h"

namespace halvex {

HireOnboardingModel::HireOnboardingModel(APIClient& api, MarketplaceWorker worker, std::optional<Target> team,
                                         std::optional<Target> project, QObject* parent)
    : QObject(parent),
      m_service(api),
      m_goals(api),
      m_worker(std::move(worker)),
      m_team(std::move(team)),
      m_project(std::move(project))
{}

void HireOnboardingModel::setStep(int step)
{
    m_step = qBound(0, step, totalSteps - 1);
    Q_EMIT changed();
}

QCoro::Task<void> HireOnboardingModel::hire()
{
    if (m_hiring)
        co_return;
    const CancelToken token = m_scope.token();
    m_hiring = true;
    m_error.reset();
    Q_EMIT changed();
    const QString workerId = m_worker.id;
    const std::optional<QString> team = m_team ? std::optional<QString>(m_team->slug) : std::nullopt;
    const std::optional<QString> project = m_project ? std::optional<QString>(m_project->slug) : std::nullopt;
    const QString goal = goalText.trimmed();
    QString newId;
    try {
        newId = co_await m_service.hire(workerId, team, project, token);
        if (!goal.isEmpty() && !newId.isEmpty() && !token.isCancelled()) {
            const GoalScope scope = GoalScope::agent(newId);
            co_await m_goals.saveFirstGoal(scope, goal, token);
        }
    } catch (const APIError& e) {
        if (token.isCancelled() || isCancellation(e))
            co_return;
        if (e.kind() == APIError::Kind::unauthorized)
            Q_EMIT unauthorized();
        m_error = e.description().isEmpty() ? QStringLiteral("Could not hire this employee") : e.description();
        m_hiring = false;
        Q_EMIT changed();
        co_return;
    }
    if (token.isCancelled())
        co_return;
    m_hiring = false;
    Q_EMIT changed();
    if (onHired)
        onHired(newId);
}

} // namespace halvex
